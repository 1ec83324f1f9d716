// The paint manager's painting half: the paint pass (double-buffered, or into a 32-bit
// bitmap pushed to a layered window), the window shadow, window settings, and the tables
// controls draw with: fonts, cached images, default attribute lists and colours.

#include "window/PaintManagerUI.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <new>
#include <utility>

#include "control/ControlUI.h"
#include "core/ZipArchive.h"
#include "render/RenderEngine.h"

namespace SkinUI {

namespace {

// Heaviest weight GDI knows; bold adds to the system font's own weight.
constexpr LONG kHeaviestWeight = FW_HEAVY;
constexpr LONG kBoldWeightStep = FW_BOLD;
// Largest font height drawn, in pixels: far beyond any screen, while the platform's glyph
// rasterizer takes seconds for a single glyph tens of thousands of pixels high.
constexpr int kLargestFontSize = 2048;
// Room for one shadow piece's image string, terminator included.
constexpr int kShadowStringLength = 512;

short Clamp(short value, short lowest, short highest) {
    return value < lowest ? lowest : value > highest ? highest : value;
}

// The face name cut to what LOGFONTW holds, always terminated.
void CopyFaceName(LOGFONTW& font, const wchar_t* name) {
    size_t length = 0;
    for (; name != nullptr && name[length] != L'\0' && length + 1 < LF_FACESIZE; ++length)
        font.lfFaceName[length] = name[length];
    font.lfFaceName[length] = L'\0';
}

LOGFONTW SystemGuiFont() {
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    return font;
}

bool StartsWithDigit(const wchar_t* name) {
    return name != nullptr && std::iswdigit(name[0]);
}

// A decimal resource id read from the start of a name.
STRINGorID ResourceId(const wchar_t* name) {
    return STRINGorID(static_cast<unsigned int>(std::wcstoul(name, nullptr, 10)));
}

bool SameSize(SIZE a, SIZE b) {
    return a.cx == b.cx && a.cy == b.cy;
}

// Font and image records keep plain handles; they are freed through the owners.
void FreeRecordHandle(HFONT& font) {
    const CGdiFont owned(font);
    font = nullptr;
}

void FreeRecordHandle(HBITMAP& bitmap) {
    const CGdiBitmap owned(bitmap);
    bitmap = nullptr;
}

} // namespace

bool CPaintManagerUI::m_bUseHSL = true;
short CPaintManagerUI::m_H = 180;
short CPaintManagerUI::m_S = 100;
short CPaintManagerUI::m_L = 100;
CSkinString CPaintManagerUI::m_pStrDefaultFontName;
HPEN CPaintManagerUI::m_hUpdateRectPen = nullptr;

// ---- Life of the paint resources

void CPaintManagerUI::InitPaintResources() {
    LOGFONTW font = SystemGuiFont();
    font.lfCharSet = DEFAULT_CHARSET;
    if (!m_pStrDefaultFontName.IsEmpty()) CopyFaceName(font, m_pStrDefaultFontName);
    m_DefaultFontInfo.font = ::CreateFontIndirectW(&font);
    m_DefaultFontInfo.faceName = font.lfFaceName;
    m_DefaultFontInfo.size = -font.lfHeight;
    m_DefaultFontInfo.bold = font.lfWeight >= FW_BOLD;
    m_DefaultFontInfo.underline = font.lfUnderline == 1;
    m_DefaultFontInfo.italic = font.lfItalic == 1;
    if (m_hUpdateRectPen == nullptr) {
        m_hUpdateRectPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
        // Image drawing and gradients take AlphaBlend and GradientFill from it.
        ::LoadLibraryExW(L"msimg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

void CPaintManagerUI::ReleasePaintResources() {
    FreeRecordHandle(m_DefaultFontInfo.font);
    RemoveAllFonts();
    RemoveAllImages();
    RemoveAllDefaultAttributeList();
    DeleteOffscreen();
    DeleteBackground();
}

void CPaintManagerUI::DeleteOffscreen() {
    m_offscreen.Reset();
    m_szOffscreen = SIZE{};
}

void CPaintManagerUI::DeleteBackground() {
    m_background.Reset();
    m_pBackgroundBits = nullptr;
    m_szBackground = SIZE{};
}

// ---- Painting

void CPaintManagerUI::OnPaint() {
    RECT update{};
    if (!::GetUpdateRect(m_hWndPaint, &update, FALSE)) return;
    if (m_pRoot == nullptr) {
        m_rcBatchInvalidated = RECT{};
        const CPaintScope validate(m_hWndPaint);
        return;
    }
    if (m_bAlphaBackground) {
        PaintLayered();
    } else {
        PaintOffscreen();
    }
}

void CPaintManagerUI::PaintOffscreen() {
    if (LayoutPass()) DeleteOffscreen();
    const SIZE client = GetClientSize();
    // A size change that did not reach the root still needs a buffer of the new size.
    if (m_offscreen && !SameSize(m_szOffscreen, client)) DeleteOffscreen();
    if (!m_offscreen && client.cx > 0 && client.cy > 0 &&
        m_offscreen.Create(m_paintDC.Get(), CGdiBitmap(::CreateCompatibleBitmap(
                                                m_paintDC.Get(), client.cx, client.cy)))) {
        m_szOffscreen = client;
    }

    // Painting validates the window: a pass this paint runs inside (a control's handler
    // updating the window) has nothing invalid left.
    m_rcBatchInvalidated = RECT{};
    CPaintScope paintScope(m_hWndPaint);
    HDC windowDC = paintScope.GetDC();
    const RECT paint = paintScope.GetPaintRect();
    // Without a buffer the tree still paints, straight onto the window.
    HDC target = m_offscreen ? m_offscreen.GetDC() : windowDC;
    const int state = ::SaveDC(target);
    m_pRoot->DoPaint(target, paint);
    PostPaint(target, paint);
    ::RestoreDC(target, state);
    if (target != windowDC) {
        ::BitBlt(windowDC, paint.left, paint.top, paint.right - paint.left,
                 paint.bottom - paint.top, target, paint.left, paint.top, SRCCOPY);
    }
    if (m_bShowUpdateRect) {
        const CSelection pen(windowDC, m_hUpdateRectPen);
        const CSelection brush(windowDC, ::GetStockObject(HOLLOW_BRUSH));
        ::Rectangle(windowDC, paint.left, paint.top, paint.right, paint.bottom);
    }
    paintScope.End();
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::PaintLayered() {
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0)
        ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    // Layout first, so that what it moves is part of this paint.
    LayoutPass();
    RECT client{};
    ::GetClientRect(m_hWndPaint, &client);
    const SIZE size{client.right, client.bottom};
    // The update area as the window has it: the paint structure's rectangle is cut to what
    // is visible on screen, which says nothing about the bitmap of a layered window.
    RECT paint{};
    ::GetUpdateRect(m_hWndPaint, &paint, FALSE);
    // Painting validates the window: a pass this paint runs inside (a control's handler
    // updating the window) has nothing invalid left.
    m_rcBatchInvalidated = RECT{};
    CPaintScope paintScope(m_hWndPaint);
    // The bitmap is kept while the size stays; a new one starts transparent and is painted
    // whole.
    if (!m_background || !SameSize(m_szBackground, size)) {
        DeleteBackground();
        if (size.cx > 0 && size.cy > 0) {
            void* bits = nullptr;
            // Bottom-up rows.
            CGdiBitmap bitmap =
                CRenderEngine::CreateDib32(m_paintDC.Get(), size.cx, size.cy, &bits);
            if (bits != nullptr && m_background.Create(m_paintDC.Get(), std::move(bitmap))) {
                m_pBackgroundBits = static_cast<DWORD*>(bits);
                m_szBackground = size;
            }
        }
        paint = client;
    }
    HDC background = m_background.GetDC();
    if (background != nullptr && ::IntersectRect(&paint, &paint, &client)) {
        // What is repainted starts transparent; everything else stays as it was.
        ::GdiFlush();
        for (int y = paint.top; y < paint.bottom; ++y) {
            DWORD* row = m_pBackgroundBits + static_cast<size_t>(size.cy - 1 - y) * size.cx;
            std::memset(row + paint.left, 0,
                        static_cast<size_t>(paint.right - paint.left) * sizeof(DWORD));
        }
        const int state = ::SaveDC(background);
        ::IntersectClipRect(background, paint.left, paint.top, paint.right, paint.bottom);
        RECT content = client;
        if (m_bHasShadow) DrawWindowShadow(content);
        RECT rootPaint{};
        if (::IntersectRect(&rootPaint, &paint, &content)) m_pRoot->DoPaint(background, rootPaint);
        ::RestoreDC(background, state);
        ::GdiFlush();

        RECT window{};
        ::GetWindowRect(m_hWndPaint, &window);
        POINT position{window.left, window.top};
        SIZE windowSize = size;
        POINT origin{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        // Only the repainted part needs to reach the screen.
        UPDATELAYEREDWINDOWINFO update{sizeof(UPDATELAYEREDWINDOWINFO),
                                       nullptr,
                                       &position,
                                       &windowSize,
                                       background,
                                       &origin,
                                       0,
                                       &blend,
                                       ULW_ALPHA,
                                       &paint};
        if (!::UpdateLayeredWindowIndirect(m_hWndPaint, &update)) {
            ::UpdateLayeredWindow(m_hWndPaint, nullptr, &position, &windowSize, background, &origin,
                                  0, &blend, ULW_ALPHA);
        }
    }
    paintScope.End();
    if (m_bUpdateNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::OnPrintClient(HDC hDC, LPARAM flags) {
    if (m_pRoot == nullptr || hDC == nullptr) return;
    RECT client{};
    ::GetClientRect(m_hWndPaint, &client);
    const int state = ::SaveDC(hDC);
    m_pRoot->DoPaint(hDC, client);
    if ((flags & PRF_CHILDREN) != 0) {
        for (HWND child = ::GetWindow(m_hWndPaint, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT place{};
            ::GetWindowRect(child, &place);
            ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<POINT*>(&place), 2);
            ::SetWindowOrgEx(hDC, -place.left, -place.top, nullptr);
            ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(hDC), flags | PRF_NONCLIENT);
        }
    }
    ::RestoreDC(hDC, state);
}

HBITMAP CPaintManagerUI::GetBackgroundBitmap() const {
    return m_background.GetBitmap();
}

// ---- Window settings

SIZE CPaintManagerUI::GetClientSize() const {
    RECT client{};
    if (m_hWndPaint != nullptr) ::GetClientRect(m_hWndPaint, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

SIZE CPaintManagerUI::GetInitSize() const {
    return m_szInitWindowSize;
}

void CPaintManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize = SIZE{cx, cy};
    // Once a tree is attached the window keeps the size it has.
    if (m_pRoot == nullptr && m_hWndPaint != nullptr) {
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

const RECT& CPaintManagerUI::GetSizeBox() const {
    return m_rcSizeBox;
}

void CPaintManagerUI::SetSizeBox(const RECT& sizeBox) {
    m_rcSizeBox = sizeBox;
}

const RECT& CPaintManagerUI::GetCaptionRect() const {
    return m_rcCaption;
}

void CPaintManagerUI::SetCaptionRect(const RECT& caption) {
    m_rcCaption = caption;
}

SIZE CPaintManagerUI::GetRoundCorner() const {
    return m_szRoundCorner;
}

void CPaintManagerUI::SetRoundCorner(int cx, int cy) {
    m_szRoundCorner = SIZE{cx, cy};
}

bool CPaintManagerUI::IsShowUpdateRect() const {
    return m_bShowUpdateRect;
}

void CPaintManagerUI::SetShowUpdateRect(bool show) {
    m_bShowUpdateRect = show;
}

bool CPaintManagerUI::IsAlphaBackground() const {
    return m_bAlphaBackground;
}

void CPaintManagerUI::SetBackgroundTransparent(bool transparent) {
    if (m_bAlphaBackground == transparent) return;
    m_bAlphaBackground = transparent;
    if (m_hWndPaint == nullptr) return;
    // Each path brings its own layering: UpdateLayeredWindow refuses a window that got
    // layered attributes until the style is cleared, and a plain paint does not show in a
    // layered window without them.
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) != 0)
        ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    DeleteOffscreen();
    DeleteBackground();
    if (!transparent && m_nOpacity < 255) SetTransparent(m_nOpacity);
    ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::SetTransparent(int opacity) {
    m_nOpacity = opacity < 0 ? 0 : opacity > 255 ? 255 : opacity;
    if (m_hWndPaint == nullptr) return;
    // A per-pixel alpha window is shown by UpdateLayeredWindow, which fails for good once
    // the window has layered attributes: it keeps the value only.
    if (m_bAlphaBackground) return;
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
    const bool layered = opacity >= 0 && opacity <= 255;
    const LONG_PTR wanted = layered ? exStyle | WS_EX_LAYERED : exStyle & ~WS_EX_LAYERED;
    if (wanted != exStyle) ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, wanted);
    if (layered)
        ::SetLayeredWindowAttributes(m_hWndPaint, 0, static_cast<BYTE>(m_nOpacity), LWA_ALPHA);
}

int CPaintManagerUI::GetTransparent() const {
    return m_nOpacity;
}

// ---- Window shadow

bool CPaintManagerUI::HasWindowShadow() const {
    return m_bHasShadow;
}

void CPaintManagerUI::SetHasWindowShadow(bool hasShadow) {
    m_bHasShadow = hasShadow;
}

void CPaintManagerUI::SetWindowShadowImage(const wchar_t* image) {
    m_sShadowImage = image != nullptr ? image : L"";
}

const CSkinString& CPaintManagerUI::GetWindowShadowImage() const {
    return m_sShadowImage;
}

void CPaintManagerUI::SetTopleftShadowRect(int x, int y, int cx, int cy) {
    m_rcShadowTopLeft = RECT{x, y, x + cx, y + cy};
}

void CPaintManagerUI::SetToprightShadowRect(int x, int y, int cx, int cy) {
    m_rcShadowTopRight = RECT{x, y, x + cx, y + cy};
}

void CPaintManagerUI::SetBottomleftShadowRect(int x, int y, int cx, int cy) {
    m_rcShadowBottomLeft = RECT{x, y, x + cx, y + cy};
}

void CPaintManagerUI::SetBottomrightShadowRect(int x, int y, int cx, int cy) {
    m_rcShadowBottomRight = RECT{x, y, x + cx, y + cy};
}

void CPaintManagerUI::CalMiddleShadowRect() {
    const RECT& tl = m_rcShadowTopLeft;
    const RECT& tr = m_rcShadowTopRight;
    const RECT& bl = m_rcShadowBottomLeft;
    const RECT& br = m_rcShadowBottomRight;
    m_rcShadowTop = RECT{tl.right, 0, tr.left, tl.bottom};
    m_rcShadowBottom = RECT{bl.right, bl.top, br.left, bl.bottom};
    m_rcShadowLeft = RECT{tl.left, tl.bottom, tl.right, bl.top};
    m_rcShadowRight = RECT{tr.left, tr.bottom, tr.right, br.top};
}

void CPaintManagerUI::CalRealShadowRect(const RECT& window, TWindowShadowInfo& info) const {
    const RECT& tl = m_rcShadowTopLeft;
    const RECT& tr = m_rcShadowTopRight;
    const RECT& bl = m_rcShadowBottomLeft;
    // Corner pieces sit at the image's edges, so their right and bottom are their sizes.
    const LONG right = window.right - (tr.right - tr.left);
    const LONG bottom = window.bottom - (bl.bottom - bl.top);
    info.topLeft = RECT{0, 0, tl.right, tl.bottom};
    info.topRight = RECT{right, 0, window.right, tr.bottom};
    info.bottomLeft = RECT{0, bottom, bl.right, window.bottom};
    info.bottomRight = RECT{right, bottom, window.right, window.bottom};
    info.top = RECT{tl.right, 0, right, tl.bottom};
    info.bottom = RECT{bl.right, bottom, right, window.bottom};
    info.left = RECT{0, tl.bottom, tl.right, bottom};
    info.right = RECT{right, tr.bottom, window.right, bottom};
}

bool CPaintManagerUI::GenerateShadowRenderString(const RECT& source, const RECT& dest, wchar_t* out,
                                                 int count) const {
    if (out == nullptr || count <= 0) return false;
    const int written =
        _snwprintf(out, static_cast<size_t>(count),
                   L"file='%s' dest='%ld,%ld,%ld,%ld' source='%ld,%ld,%ld,%ld'",
                   m_sShadowImage.GetData(), dest.left, dest.top, dest.right, dest.bottom,
                   source.left, source.top, source.right, source.bottom);
    // Cut output (or a full buffer without room for the terminator) draws nothing.
    if (written < 0 || written >= count) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

void CPaintManagerUI::DrawWindowShadow(RECT& window) {
    DrawWindowShadow(m_background.GetDC(), window);
}

void CPaintManagerUI::DrawWindowShadow(HDC hDC, RECT& window) {
    TWindowShadowInfo info{};
    CalRealShadowRect(window, info);
    const RECT* const pieces[][2] = {
        {&m_rcShadowTopLeft, &info.topLeft},   {&m_rcShadowTop, &info.top},
        {&m_rcShadowTopRight, &info.topRight}, {&m_rcShadowLeft, &info.left},
        {&m_rcShadowRight, &info.right},       {&m_rcShadowBottomLeft, &info.bottomLeft},
        {&m_rcShadowBottom, &info.bottom},     {&m_rcShadowBottomRight, &info.bottomRight},
    };
    if (hDC != nullptr && !m_sShadowImage.IsEmpty()) {
        wchar_t text[kShadowStringLength];
        for (const auto& piece : pieces) {
            const RECT& source = *piece[0];
            const RECT& dest = *piece[1];
            // A piece without area has nothing to show (an all-zero source would even
            // stand for the whole image).
            if (::IsRectEmpty(&source) || ::IsRectEmpty(&dest)) continue;
            if (!GenerateShadowRenderString(source, dest, text, kShadowStringLength)) continue;
            CRenderEngine::DrawImageString(hDC, this, window, window, text, nullptr);
        }
    }
    window = RECT{m_rcShadowTopLeft.right, m_rcShadowTopLeft.bottom, info.topRight.left,
                  info.bottomLeft.top};
}

// ---- Shared resources

bool CPaintManagerUI::UseParentResource(CPaintManagerUI* parent) {
    for (CPaintManagerUI* link = parent; link != nullptr; link = link->m_pParentResourcePM)
        if (link == this) return false;
    m_pParentResourcePM = parent;
    return true;
}

CPaintManagerUI* CPaintManagerUI::GetParentResource() const {
    return m_pParentResourcePM;
}

DWORD CPaintManagerUI::GetDefaultDisabledColor() const {
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultDisabledColor()
                                          : m_dwDefaultDisabledColor;
}

void CPaintManagerUI::SetDefaultDisabledColor(DWORD color) {
    m_dwDefaultDisabledColor = color;
}

DWORD CPaintManagerUI::GetDefaultFontColor() const {
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultFontColor()
                                          : m_dwDefaultFontColor;
}

void CPaintManagerUI::SetDefaultFontColor(DWORD color) {
    m_dwDefaultFontColor = color;
}

DWORD CPaintManagerUI::GetDefaultLinkFontColor() const {
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultLinkFontColor()
                                          : m_dwDefaultLinkFontColor;
}

void CPaintManagerUI::SetDefaultLinkFontColor(DWORD color) {
    m_dwDefaultLinkFontColor = color;
}

DWORD CPaintManagerUI::GetDefaultLinkHoverFontColor() const {
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultLinkHoverFontColor()
                                          : m_dwDefaultLinkHoverFontColor;
}

void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD color) {
    m_dwDefaultLinkHoverFontColor = color;
}

DWORD CPaintManagerUI::GetDefaultSelectedBkColor() const {
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetDefaultSelectedBkColor()
                                          : m_dwDefaultSelectedBkColor;
}

void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD color) {
    m_dwDefaultSelectedBkColor = color;
}

// ---- Fonts

void CPaintManagerUI::SetDefaultFontName(const wchar_t* faceName) {
    m_pStrDefaultFontName = faceName != nullptr ? faceName : L"";
}

TFontInfo* CPaintManagerUI::MakeFont(const wchar_t* faceName, int size, bool bold, bool underline,
                                     bool italic) {
    if (faceName == nullptr) return nullptr;
    LOGFONTW font = SystemGuiFont();
    CopyFaceName(font, faceName);
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfHeight = -std::max(-kLargestFontSize, std::min(size, kLargestFontSize));
    if (bold) {
        font.lfWeight += kBoldWeightStep;
        if (font.lfWeight > kHeaviestWeight) font.lfWeight = kHeaviestWeight;
    }
    if (underline) font.lfUnderline = TRUE;
    if (italic) font.lfItalic = TRUE;
    CGdiFont handle(::CreateFontIndirectW(&font));
    if (!handle) return nullptr;
    auto* info = new (std::nothrow) TFontInfo;
    if (info == nullptr) return nullptr;
    info->font = handle.Detach();
    info->faceName = faceName;
    info->size = size;
    info->bold = bold;
    info->underline = underline;
    info->italic = italic;
    if (m_paintDC) Measured(info);
    return info;
}

void CPaintManagerUI::FreeFont(TFontInfo* info) {
    if (info == nullptr) return;
    FreeRecordHandle(info->font);
    delete info;
}

TFontInfo* CPaintManagerUI::Measured(TFontInfo* info) {
    if (info == nullptr || info->metrics.tmHeight != 0 || info->font == nullptr) return info;
    // Without a window yet, a memory DC measures the same font.
    CMemoryDC memoryDC;
    if (!m_paintDC) memoryDC.Reset(::CreateCompatibleDC(nullptr));
    HDC measuring = m_paintDC ? m_paintDC.Get() : memoryDC.Get();
    if (measuring == nullptr) return info;
    const CSelection selected(measuring, info->font);
    ::GetTextMetricsW(measuring, &info->metrics);
    return info;
}

bool CPaintManagerUI::SetDefaultFont(const wchar_t* faceName, int size, bool bold, bool underline,
                                     bool italic) {
    TFontInfo* made = MakeFont(faceName, size, bold, underline, italic);
    if (made == nullptr) return false;
    FreeRecordHandle(m_DefaultFontInfo.font);
    m_DefaultFontInfo = *made;
    made->font = nullptr;
    delete made;
    return true;
}

TFontInfo* CPaintManagerUI::GetDefaultFontInfo() {
    if (m_pParentResourcePM != nullptr) return m_pParentResourcePM->GetDefaultFontInfo();
    return Measured(&m_DefaultFontInfo);
}

HFONT CPaintManagerUI::AddFont(const wchar_t* faceName, int size, bool bold, bool underline,
                               bool italic) {
    return AddFontAt(m_aCustomFonts.GetSize(), faceName, size, bold, underline, italic);
}

namespace {

// The kinds of ReportBound, one bit each in m_boundsReported.
enum : unsigned { kFontBound = 1, kImageBound = 2, kDefaultListBound = 4 };

// Traces the first refusal of a kind since the manager last emptied that kind.
void ReportBound(unsigned& reported, unsigned kind, const wchar_t* what, int bound) {
    if ((reported & kind) != 0) return;
    reported |= kind;
    SKIN__Trace(L"SkinUI: %s beyond %d in one window refused", what, bound);
}

} // namespace

HFONT CPaintManagerUI::AddFontAt(int index, const wchar_t* faceName, int size, bool bold,
                                 bool underline, bool italic) {
    if (m_aCustomFonts.GetSize() >= kMaxCustomFonts) {
        ReportBound(m_boundsReported, kFontBound, L"custom fonts", kMaxCustomFonts);
        return nullptr;
    }
    TFontInfo* info = MakeFont(faceName, size, bold, underline, italic);
    if (info == nullptr) return nullptr;
    const bool placed = index == m_aCustomFonts.GetSize() ? m_aCustomFonts.Add(info)
                                                          : m_aCustomFonts.InsertAt(index, info);
    if (!placed) {
        FreeFont(info);
        return nullptr;
    }
    return info->font;
}

HFONT CPaintManagerUI::GetFont(int index) {
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return m_DefaultFontInfo.font;
    return static_cast<TFontInfo*>(m_aCustomFonts[index])->font;
}

int CPaintManagerUI::FindOwnFont(const wchar_t* faceName, int size, bool bold, bool underline,
                                 bool italic) const {
    if (faceName == nullptr) return -1;
    for (int i = 0; i < m_aCustomFonts.GetSize(); ++i) {
        const auto* info = static_cast<const TFontInfo*>(m_aCustomFonts[i]);
        if (info->faceName == faceName && info->size == size && info->bold == bold &&
            info->underline == underline && info->italic == italic)
            return i;
    }
    return -1;
}

HFONT CPaintManagerUI::GetFont(const wchar_t* faceName, int size, bool bold, bool underline,
                               bool italic) {
    const int index = FindOwnFont(faceName, size, bold, underline, italic);
    if (index >= 0) return static_cast<TFontInfo*>(m_aCustomFonts[index])->font;
    if (m_pParentResourcePM != nullptr)
        return m_pParentResourcePM->GetFont(faceName, size, bold, underline, italic);
    return nullptr;
}

bool CPaintManagerUI::FindFont(HFONT font) {
    if (GetFontIndex(font) >= 0) return true;
    return m_pParentResourcePM != nullptr && m_pParentResourcePM->FindFont(font);
}

bool CPaintManagerUI::FindFont(const wchar_t* faceName, int size, bool bold, bool underline,
                               bool italic) {
    if (FindOwnFont(faceName, size, bold, underline, italic) >= 0) return true;
    return m_pParentResourcePM != nullptr &&
           m_pParentResourcePM->FindFont(faceName, size, bold, underline, italic);
}

int CPaintManagerUI::GetFontIndex(HFONT font) {
    if (font == nullptr) return -1;
    for (int i = 0; i < m_aCustomFonts.GetSize(); ++i)
        if (static_cast<TFontInfo*>(m_aCustomFonts[i])->font == font) return i;
    return -1;
}

int CPaintManagerUI::GetFontIndex(const wchar_t* faceName, int size, bool bold, bool underline,
                                  bool italic) {
    return FindOwnFont(faceName, size, bold, underline, italic);
}

TFontInfo* CPaintManagerUI::GetFontInfo(int index) {
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return GetDefaultFontInfo();
    return Measured(static_cast<TFontInfo*>(m_aCustomFonts[index]));
}

TFontInfo* CPaintManagerUI::GetFontInfo(HFONT font) {
    const int index = GetFontIndex(font);
    if (index >= 0) return Measured(static_cast<TFontInfo*>(m_aCustomFonts[index]));
    if (m_pParentResourcePM != nullptr) return m_pParentResourcePM->GetFontInfo(font);
    return GetDefaultFontInfo();
}

bool CPaintManagerUI::RemoveFont(HFONT font) {
    return RemoveFontAt(GetFontIndex(font));
}

bool CPaintManagerUI::RemoveFontAt(int index) {
    if (index < 0 || index >= m_aCustomFonts.GetSize()) return false;
    FreeFont(static_cast<TFontInfo*>(m_aCustomFonts[index]));
    return m_aCustomFonts.Remove(index);
}

void CPaintManagerUI::RemoveAllFonts() {
    for (int i = 0; i < m_aCustomFonts.GetSize(); ++i)
        FreeFont(static_cast<TFontInfo*>(m_aCustomFonts[i]));
    m_aCustomFonts.Empty();
    m_boundsReported &= ~kFontBound;
}

int CPaintManagerUI::GetCustomFontCount() const {
    return m_aCustomFonts.GetSize();
}

// ---- Images

bool CPaintManagerUI::CacheImage(const wchar_t* name, TImageInfo* image) {
    if (m_mImageHash.GetSize() >= kMaxImages) {
        ReportBound(m_boundsReported, kImageBound, L"images", kMaxImages);
        return false;
    }
    return m_mImageHash.Insert(name, image);
}

TImageInfo* CPaintManagerUI::AddImage(const wchar_t* name, const wchar_t* type, DWORD mask) {
    if (name == nullptr || *name == L'\0') return nullptr;
    if (type != nullptr && *type == L'\0') type = nullptr;
    // The first image of a name stays; checked first, so a duplicate is never loaded.
    if (m_mImageHash.Find(name, false) != nullptr) return nullptr;
    // Nor is one the full cache would refuse.
    if (m_mImageHash.GetSize() >= kMaxImages) {
        ReportBound(m_boundsReported, kImageBound, L"images", kMaxImages);
        return nullptr;
    }
    TImageInfo* image = nullptr;
    if (type != nullptr) {
        // A resource is named by its decimal id; any other name has no resource.
        if (!StartsWithDigit(name)) return nullptr;
        image = CRenderEngine::LoadImageW(ResourceId(name), type, mask);
    } else {
        image = CRenderEngine::LoadImageW(STRINGorID(name), nullptr, mask);
    }
    if (image == nullptr) return nullptr;
    // Per-pixel alpha windows blend every image, so what it leaves transparent shows through.
    if (m_bAlphaBackground) image->alphaChannel = true;
    if (type != nullptr) image->resourceType = type;
    image->mask = mask;
    if (!CacheImage(name, image)) {
        CRenderEngine::FreeImage(image);
        return nullptr;
    }
    return image;
}

TImageInfo* CPaintManagerUI::AddImage(const wchar_t* name, HBITMAP bitmap, int cx, int cy,
                                      bool alpha) {
    if (name == nullptr || *name == L'\0' || bitmap == nullptr || cx <= 0 || cy <= 0)
        return nullptr;
    CGdiBitmap owned(bitmap); // the cache takes it, or frees it on failure
    auto* image = new (std::nothrow) TImageInfo;
    if (image == nullptr) return nullptr;
    image->bitmap = owned.Detach();
    image->width = cx;
    image->height = cy;
    image->alphaChannel = alpha;
    if (!CacheImage(name, image)) {
        CRenderEngine::FreeImage(image);
        return nullptr;
    }
    return image;
}

TImageInfo* CPaintManagerUI::GetImage(const wchar_t* name) {
    if (name == nullptr) return nullptr;
    if (auto* image = static_cast<TImageInfo*>(m_mImageHash.Find(name))) return image;
    return m_pParentResourcePM != nullptr ? m_pParentResourcePM->GetImage(name) : nullptr;
}

TImageInfo* CPaintManagerUI::GetImageEx(const wchar_t* name, const wchar_t* type, DWORD mask) {
    if (name == nullptr) return nullptr;
    if (auto* image = static_cast<TImageInfo*>(m_mImageHash.Find(name))) return image;
    return AddImage(name, type, mask);
}

bool CPaintManagerUI::RemoveImage(const wchar_t* name) {
    if (name == nullptr) return false;
    auto* image = static_cast<TImageInfo*>(m_mImageHash.Find(name, false));
    if (image == nullptr) return false;
    CRenderEngine::FreeImage(image);
    return m_mImageHash.Remove(name);
}

void CPaintManagerUI::RemoveAllImages() {
    for (int i = 0; i < m_mImageHash.GetSize(); ++i)
        CRenderEngine::FreeImage(
            static_cast<TImageInfo*>(m_mImageHash.Find(m_mImageHash.GetAt(i), false)));
    m_mImageHash.RemoveAll();
    m_boundsReported &= ~kImageBound;
}

void CPaintManagerUI::ReloadAllImages() {
    bool reloaded = false;
    for (int i = 0; i < m_mImageHash.GetSize(); ++i) {
        const wchar_t* name = m_mImageHash.GetAt(i);
        auto* image = static_cast<TImageInfo*>(m_mImageHash.Find(name, false));
        if (image == nullptr) continue;
        TImageInfo* fresh = nullptr;
        if (image->resourceType.IsEmpty()) {
            fresh = CRenderEngine::LoadImageW(STRINGorID(name), nullptr, image->mask);
        } else if (StartsWithDigit(name)) {
            fresh = CRenderEngine::LoadImageW(ResourceId(name), image->resourceType, image->mask);
        }
        if (fresh == nullptr) continue;
        // The record stays where it is: controls and other managers may hold it.
        FreeRecordHandle(image->bitmap);
        image->bitmap = fresh->bitmap;
        image->width = fresh->width;
        image->height = fresh->height;
        image->alphaChannel = fresh->alphaChannel || m_bAlphaBackground;
        fresh->bitmap = nullptr;
        CRenderEngine::FreeImage(fresh);
        reloaded = true;
    }
    if (reloaded && m_pRoot != nullptr) m_pRoot->Invalidate();
}

// ---- Default attribute lists

void CPaintManagerUI::AddDefaultAttributeList(const wchar_t* controlName,
                                              const wchar_t* attributeList) {
    if (controlName == nullptr || attributeList == nullptr) return;
    if (m_DefaultAttrHash.Find(controlName, false) != nullptr) return;
    if (m_DefaultAttrHash.GetSize() >= kMaxDefaultAttributeLists) {
        ReportBound(m_boundsReported, kDefaultListBound, L"default attribute lists",
                    kMaxDefaultAttributeLists);
        return;
    }
    auto* copy = new (std::nothrow) CSkinString(attributeList);
    if (copy != nullptr && !m_DefaultAttrHash.Insert(controlName, copy)) delete copy;
}

const wchar_t* CPaintManagerUI::GetDefaultAttributeList(const wchar_t* controlName) {
    if (controlName == nullptr) return nullptr;
    if (auto* list = static_cast<CSkinString*>(m_DefaultAttrHash.Find(controlName)))
        return list->GetData();
    return m_pParentResourcePM != nullptr
               ? m_pParentResourcePM->GetDefaultAttributeList(controlName)
               : nullptr;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(const wchar_t* controlName) {
    if (controlName == nullptr) return false;
    auto* list = static_cast<CSkinString*>(m_DefaultAttrHash.Find(controlName, false));
    if (list == nullptr) return false;
    delete list;
    return m_DefaultAttrHash.Remove(controlName);
}

void CPaintManagerUI::RemoveAllDefaultAttributeList() {
    for (int i = 0; i < m_DefaultAttrHash.GetSize(); ++i)
        delete static_cast<CSkinString*>(m_DefaultAttrHash.Find(m_DefaultAttrHash.GetAt(i), false));
    m_DefaultAttrHash.RemoveAll();
    m_boundsReported &= ~kDefaultListBound;
}

const CStdStringPtrMap& CPaintManagerUI::GetDefaultAttribultes() const {
    return m_DefaultAttrHash;
}

// ---- Process-wide settings

void CPaintManagerUI::SetHSL(bool useHSL, short h, short s, short l) {
    h = Clamp(h, 0, 360);
    s = Clamp(s, 0, 200);
    l = Clamp(l, 0, 200);
    if (m_bUseHSL == useHSL && m_H == h && m_S == s && m_L == l) return;
    m_bUseHSL = useHSL;
    m_H = h;
    m_S = s;
    m_L = l;
    for (int i = 0; i < m_aPreMessages.GetSize(); ++i) {
        auto* manager = static_cast<CPaintManagerUI*>(m_aPreMessages[i]);
        if (manager->m_pRoot != nullptr) manager->m_pRoot->Invalidate();
    }
}

bool CPaintManagerUI::IsUseHSL() {
    return m_bUseHSL;
}

void CPaintManagerUI::GetHSL(short* h, short* s, short* l) {
    if (h != nullptr) *h = m_H;
    if (s != nullptr) *s = m_S;
    if (l != nullptr) *l = m_L;
}

void CPaintManagerUI::Term() {
    if (!m_bCachedResourceZip || m_hResourceZip == nullptr) return;
    delete static_cast<CZipArchive*>(m_hResourceZip);
    m_hResourceZip = nullptr;
    // No archive is selected any more, so selecting one again opens it again.
    m_bCachedResourceZip = false;
    m_pStrResourceZip.Empty();
}

} // namespace SkinUI
