#include "render/RenderEngine.h"

#include <algorithm>
#include <cmath>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>
#include <utility>

#include <gdiplus.h>

#include "control/ControlUI.h"
#include "core/NumberList.h"
#include "core/Handles.h"
#include "core/SkinFile.h"
#include "render/StbImage.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

// ---------------------------------------------------------------------------
// System blending entry points

using AlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                     BLENDFUNCTION);
using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

struct SystemBlending {
    AlphaBlendProc alphaBlend;
    GradientFillProc gradientFill;
};

// Looked up once per process. The paint manager loads "msimg32.dll" early; code that
// draws without a manager still finds it, in the system folder only.
const SystemBlending& LookUpSystemBlending() {
    static const SystemBlending entries = [] {
        SystemBlending found = {nullptr, nullptr};
        HMODULE module = GetModuleHandleW(L"msimg32.dll");
        if (module == nullptr) {
            module = LoadLibraryExW(L"msimg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        }
        if (module != nullptr) {
            // Through the generic function pointer type, which any entry point converts to.
            using AnyProc = void (*)();
            found.alphaBlend = reinterpret_cast<AlphaBlendProc>(
                reinterpret_cast<AnyProc>(GetProcAddress(module, "AlphaBlend")));
            found.gradientFill = reinterpret_cast<GradientFillProc>(
                reinterpret_cast<AnyProc>(GetProcAddress(module, "GradientFill")));
        }
        return found;
    }();
    return entries;
}

bool g_useSystemBlending = true;

AlphaBlendProc SystemAlphaBlend() {
    return g_useSystemBlending ? LookUpSystemBlending().alphaBlend : nullptr;
}

GradientFillProc SystemGradientFill() {
    return g_useSystemBlending ? LookUpSystemBlending().gradientFill : nullptr;
}

bool BlendDirect(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                 int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend);

// AlphaBlend, or the built-in blend where the system has none. Between two DIB sections the
// blend is done on the pixels directly: where AlphaBlend is emulated it is several times
// slower.
bool Blend(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
           int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
    if (g_useSystemBlending && BlendDirect(dest, x, y, width, height, source, sourceX, sourceY,
                                           sourceWidth, sourceHeight, blend)) {
        return true;
    }
    if (AlphaBlendProc alphaBlend = SystemAlphaBlend()) {
        return alphaBlend(dest, x, y, width, height, source, sourceX, sourceY, sourceWidth,
                          sourceHeight, blend) != FALSE;
    }
    return CRenderEngine::SoftwareAlphaBlend(dest, x, y, width, height, source, sourceX, sourceY,
                                             sourceWidth, sourceHeight, blend);
}

BLENDFUNCTION PremultipliedBlend(BYTE constantAlpha) {
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, constantAlpha, AC_SRC_ALPHA};
    return blend;
}

// ---------------------------------------------------------------------------
// Pixels and bitmaps

BYTE Channel(DWORD color, int shift) {
    return static_cast<BYTE>((color >> shift) & 0xFF);
}

// 0xAARRGGBB to the platform's red-green-blue order, alpha dropped.
COLORREF ToColorRef(DWORD color) {
    return RGB(Channel(color, 16), Channel(color, 8), Channel(color, 0));
}

// Colour channels scaled by alpha, as per-pixel alpha blending expects them.
DWORD Premultiply(DWORD color) {
    const DWORD alpha = color >> 24;
    if (alpha == 255) return color;
    DWORD result = alpha << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        result |= (Channel(color, shift) * alpha / 255) << shift;
    }
    return result;
}

// A 32-bit top-down DIB section; empty when it cannot be made.
CGdiBitmap CreateTopDownDib(HDC hDC, int width, int height, DWORD** pixels) {
    void* bits = nullptr;
    CGdiBitmap bitmap = CRenderEngine::CreateDib32(hDC, width, height > 0 ? -height : 0, &bits);
    *pixels = static_cast<DWORD*>(bits);
    return bitmap;
}

bool IsEmptyArea(const RECT& rc) {
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

bool Touches(const RECT& a, const RECT& b) {
    RECT common;
    return IntersectRect(&common, &a, &b) != FALSE;
}

// Logical to device coordinates, normalised.
RECT ToDevice(HDC hDC, const RECT& rc) {
    POINT corners[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    LPtoDP(hDC, corners, 2);
    RECT device = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    if (device.left > device.right) std::swap(device.left, device.right);
    if (device.top > device.bottom) std::swap(device.top, device.bottom);
    return device;
}

// The 32-bit DIB section selected into `hDC`, whose pixels carry alpha; false for any
// other surface (a screen-compatible bitmap, a window, a 24-bit DIB).
bool GetAlphaSurface(HDC hDC, DIBSECTION& section) {
    HGDIOBJ bitmap = GetCurrentObject(hDC, OBJ_BITMAP);
    return bitmap != nullptr &&
           GetObjectW(bitmap, sizeof(section), &section) == static_cast<int>(sizeof(section)) &&
           section.dsBm.bmBitsPixel == 32 && section.dsBm.bmBits != nullptr;
}

// GetObject reports a positive height for top-down DIB sections as well, so the row order
// is found by setting one pixel through GDI and looking where it lands.
bool IsTopDown(HDC hDC, const DIBSECTION& section) {
    const int height = std::abs(section.dsBm.bmHeight);
    if (height <= 1) return true;
    BYTE* bits = static_cast<BYTE*>(section.dsBm.bmBits);
    DWORD* first = reinterpret_cast<DWORD*>(bits);
    DWORD* last = reinterpret_cast<DWORD*>(bits + static_cast<size_t>(height - 1) *
                                                      section.dsBm.bmWidthBytes);
    const int state = SaveDC(hDC);
    if (state == 0) return true;
    // Device pixel (0, 0), whatever mapping and clip the caller has set up.
    SetMapMode(hDC, MM_TEXT);
    ModifyWorldTransform(hDC, nullptr, MWT_IDENTITY);
    SetViewportOrgEx(hDC, 0, 0, nullptr);
    SetWindowOrgEx(hDC, 0, 0, nullptr);
    SelectClipRgn(hDC, nullptr);
    GdiFlush();
    const DWORD savedFirst = *first;
    const DWORD savedLast = *last;
    *first = 0;
    *last = 0;
    SetPixelV(hDC, 0, 0, RGB(255, 255, 255));
    GdiFlush();
    const bool topDown = (*first & 0x00FFFFFF) != 0;
    *first = savedFirst;
    *last = savedLast;
    RestoreDC(hDC, state);
    return topDown;
}

// ---------------------------------------------------------------------------
// Direct blending between DIB sections

// Smaller blends are left to the system: finding a surface's row order costs more.
constexpr long long kDirectBlendMinimumPixels = 2048;

// The rows of a 32-bit DIB section, by device y.
struct PixelRows {
    BYTE* bits;
    int width;
    int height;
    int stride;
    bool bottomUp;
    DWORD* Row(int y) const {
        const int line = bottomUp ? height - 1 - y : y;
        return reinterpret_cast<DWORD*>(bits + static_cast<size_t>(line) * stride);
    }
};

// The pixels behind a memory DC holding a 32-bit DIB section, whose logical coordinates are
// device coordinates moved by `origin`; false for any other DC.
bool OpenPixelRows(HDC hDC, PixelRows& rows, POINT& origin) {
    if (GetObjectType(hDC) != OBJ_MEMDC || GetMapMode(hDC) != MM_TEXT ||
        GetGraphicsMode(hDC) != GM_COMPATIBLE || GetLayout(hDC) != 0) {
        return false;
    }
    DIBSECTION section;
    if (!GetAlphaSurface(hDC, section)) return false;
    rows.bits = static_cast<BYTE*>(section.dsBm.bmBits);
    rows.width = section.dsBm.bmWidth;
    rows.height = std::abs(section.dsBm.bmHeight);
    rows.stride = section.dsBm.bmWidthBytes;
    rows.bottomUp = !IsTopDown(hDC, section);
    origin = POINT{0, 0};
    return LPtoDP(hDC, &origin, 1) != FALSE;
}

// (byte × k + 127) / 255 for each byte of a pixel, two bytes at a time.
DWORD ScalePixel(DWORD pixel, DWORD k) {
    DWORD redBlue = (pixel & 0x00FF00FF) * k + 0x00800080;
    redBlue = ((redBlue + ((redBlue >> 8) & 0x00FF00FF)) >> 8) & 0x00FF00FF;
    DWORD alphaGreen = ((pixel >> 8) & 0x00FF00FF) * k + 0x00800080;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0x00FF00FF)) & 0xFF00FF00;
    return redBlue | alphaGreen;
}

// Byte-wise sum, each byte saturating at 255.
DWORD AddPixels(DWORD a, DWORD b) {
    DWORD redBlue = (a & 0x00FF00FF) + (b & 0x00FF00FF);
    DWORD alphaGreen = ((a >> 8) & 0x00FF00FF) + ((b >> 8) & 0x00FF00FF);
    DWORD carry = redBlue & 0x01000100;
    redBlue = (redBlue | (carry - (carry >> 8))) & 0x00FF00FF;
    carry = alphaGreen & 0x01000100;
    alphaGreen = (alphaGreen | (carry - (carry >> 8))) & 0x00FF00FF;
    return redBlue | (alphaGreen << 8);
}

// Premultiplied source-over with a constant alpha, as the built-in blend computes it.
DWORD BlendPixel(DWORD from, DWORD to, DWORD constant, bool perPixel) {
    if (constant == 255) {
        if (!perPixel) return from;
        const DWORD alpha = from >> 24;
        if (alpha == 255) return from;
        if (from == 0) return to;
        return AddPixels(from, ScalePixel(to, 255 - alpha));
    }
    const DWORD scaled = ScalePixel(from, constant);
    const DWORD coverage = perPixel ? scaled >> 24 : constant;
    return AddPixels(scaled, ScalePixel(to, 255 - coverage));
}

// AlphaBlend between two DIB sections in memory DCs, nearest-pixel scaling, within the
// destination's clip region. False, with nothing drawn, for any case it does not take.
bool BlendDirect(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                 int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
    if (dest == nullptr || source == nullptr || width <= 0 || height <= 0 || sourceWidth <= 0 ||
        sourceHeight <= 0 || blend.BlendOp != AC_SRC_OVER ||
        static_cast<long long>(width) * height < kDirectBlendMinimumPixels) {
        return false;
    }
    PixelRows to;
    PixelRows from;
    POINT destOrigin;
    POINT sourceOrigin;
    if (!OpenPixelRows(dest, to, destOrigin) || !OpenPixelRows(source, from, sourceOrigin) ||
        to.bits == from.bits) {
        return false;
    }
    // As for AlphaBlend, the source lies inside its bitmap.
    const long long fromLeft = static_cast<long long>(sourceX) + sourceOrigin.x;
    const long long fromTop = static_cast<long long>(sourceY) + sourceOrigin.y;
    if (fromLeft < 0 || fromTop < 0 || fromLeft + sourceWidth > from.width ||
        fromTop + sourceHeight > from.height) {
        return false;
    }
    const long long left = static_cast<long long>(x) + destOrigin.x;
    const long long top = static_cast<long long>(y) + destOrigin.y;
    if (left + width <= 0 || top + height <= 0 || left >= to.width || top >= to.height) {
        return true; // entirely outside the bitmap: nothing to draw
    }
    const RECT area = {static_cast<LONG>(left), static_cast<LONG>(top),
                       static_cast<LONG>(left + width), static_cast<LONG>(top + height)};

    // The parts of the area inside the clip region (device coordinates) and the bitmap.
    const CGdiRegion clip(CreateRectRgn(0, 0, 0, 0));
    if (!clip) return false;
    const int clipState = GetClipRgn(dest, clip.Get());
    if (clipState == 0) SetRectRgn(clip.Get(), 0, 0, to.width, to.height);
    RGNDATA* parts = nullptr;
    const DWORD partsSize = clipState >= 0 ? GetRegionData(clip.Get(), 0, nullptr) : 0;
    if (partsSize > 0) parts = static_cast<RGNDATA*>(std::malloc(partsSize));
    int* columns = static_cast<int*>(std::malloc(static_cast<size_t>(width) * sizeof(int)));
    const bool ready = parts != nullptr && columns != nullptr &&
                       GetRegionData(clip.Get(), partsSize, parts) == partsSize;
    if (!ready) {
        std::free(parts);
        std::free(columns);
        return false;
    }
    // Each destination pixel takes the source pixel under its centre.
    for (int i = 0; i < width; ++i) {
        columns[i] = static_cast<int>(fromLeft + (2LL * i + 1) * sourceWidth / (2LL * width));
    }
    const DWORD constant = blend.SourceConstantAlpha;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    const RECT bounds = {0, 0, to.width, to.height};
    const RECT* rects = reinterpret_cast<const RECT*>(parts->Buffer);
    GdiFlush();
    for (DWORD n = 0; n < parts->rdh.nCount; ++n) {
        RECT part;
        if (!IntersectRect(&part, &rects[n], &area) || !IntersectRect(&part, &part, &bounds)) {
            continue;
        }
        for (int row = part.top; row < part.bottom; ++row) {
            const long long i = row - area.top;
            const DWORD* fromRow =
                from.Row(static_cast<int>(fromTop + (2 * i + 1) * sourceHeight / (2LL * height)));
            DWORD* toRow = to.Row(row);
            const int* columnOf = columns - area.left;
            if (perPixel && constant == 255) {
                // The common case, premultiplied pixels at full strength, on its own.
                for (int column = part.left; column < part.right; ++column) {
                    const DWORD pixel = fromRow[columnOf[column]];
                    const DWORD alpha = pixel >> 24;
                    if (alpha == 255) {
                        toRow[column] = pixel;
                    } else if (pixel != 0) {
                        toRow[column] = AddPixels(pixel, ScalePixel(toRow[column], 255 - alpha));
                    }
                }
            } else {
                for (int column = part.left; column < part.right; ++column) {
                    toRow[column] =
                        BlendPixel(fromRow[columnOf[column]], toRow[column], constant, perPixel);
                }
            }
        }
    }
    std::free(parts);
    std::free(columns);
    return true;
}

// GDI lines and shapes write alpha 0 into a 32-bit bitmap, which turns them into holes in
// a layered window. While this scope lives, GDI draws into `bounds` (logical coordinates)
// of such a bitmap, leaving `untouched` alone; when it ends, every pixel GDI touched is made
// opaque and every other pixel is exactly as it was. Surfaces without alpha are left alone.
class COpaqueGdiScope {
public:
    COpaqueGdiScope(HDC hDC, const RECT& bounds, const RECT& untouched = RECT{0, 0, 0, 0}) {
        DIBSECTION section;
        if (!GetAlphaSurface(hDC, section)) return;
        const RECT surface = {0, 0, section.dsBm.bmWidth, std::abs(section.dsBm.bmHeight)};
        const RECT area = ToDevice(hDC, bounds);
        if (!IntersectRect(&m_area, &area, &surface)) return;
        const RECT skip = ToDevice(hDC, untouched);
        if (IsEmptyArea(untouched) || !IntersectRect(&m_skip, &skip, &m_area)) {
            SetRectEmpty(&m_skip);
        }
        const size_t count = static_cast<size_t>(m_area.right - m_area.left) *
                                 static_cast<size_t>(m_area.bottom - m_area.top) -
                             static_cast<size_t>(m_skip.right - m_skip.left) *
                                 static_cast<size_t>(m_skip.bottom - m_skip.top);
        m_saved = static_cast<DWORD*>(std::malloc((count > 0 ? count : 1) * sizeof(DWORD)));
        if (m_saved == nullptr) return;
        m_bits = static_cast<BYTE*>(section.dsBm.bmBits);
        m_stride = section.dsBm.bmWidthBytes;
        m_height = surface.bottom;
        m_bottomUp = !IsTopDown(hDC, section);
        GdiFlush();
        // Remember every pixel and mark it with alpha 255: GDI leaves alpha 0 behind.
        DWORD* saved = m_saved;
        ForEachPixel([&saved](DWORD& pixel) {
            *saved++ = pixel;
            pixel |= 0xFF000000;
        });
    }

    ~COpaqueGdiScope() {
        if (m_saved == nullptr) return;
        GdiFlush();
        const DWORD* saved = m_saved;
        ForEachPixel([&saved](DWORD& pixel) {
            // Touched: alpha cleared, or a new colour where GDI kept the alpha byte.
            const bool touched = (pixel >> 24) == 0 || ((pixel ^ *saved) & 0x00FFFFFF) != 0;
            pixel = touched ? (pixel | 0xFF000000) : *saved;
            ++saved;
        });
        std::free(m_saved);
    }

    COpaqueGdiScope(const COpaqueGdiScope&) = delete;
    COpaqueGdiScope& operator=(const COpaqueGdiScope&) = delete;

private:
    // Visits the pixels of the area outside the skipped part, always in the same order.
    template <typename Visit> void ForEachPixel(Visit visit) const {
        for (int y = m_area.top; y < m_area.bottom; ++y) {
            const int line = m_bottomUp ? m_height - 1 - y : y;
            DWORD* row = reinterpret_cast<DWORD*>(m_bits + static_cast<size_t>(line) * m_stride);
            const bool skipping = y >= m_skip.top && y < m_skip.bottom;
            for (int x = m_area.left; x < m_area.right; ++x) {
                if (skipping && x == m_skip.left) x = m_skip.right;
                if (x < m_area.right) visit(row[x]);
            }
        }
    }

    RECT m_area = {};
    RECT m_skip = {};
    DWORD* m_saved = nullptr;
    BYTE* m_bits = nullptr;
    int m_stride = 0;
    int m_height = 0;
    bool m_bottomUp = false;
};

// ---------------------------------------------------------------------------
// Image decoding

// Images a skin can reasonably show, checked in the header before anything is allocated:
// no side beyond 16,384 pixels, and no more pixels than a 4K screen holds (3840 × 2160
// fits), 32 MiB as a DIB. A few bytes of header can claim any size, and the decoder fills
// what the data lacks.
constexpr int kMaxImageSide = SKIN_IMAGE_MAX_SIDE;
constexpr int kMaxImagePixels = 8 << 20;
// The largest image file: an uncompressed 32-bit BMP of the largest image, and its header.
constexpr DWORD kMaxImageFileBytes = kMaxImagePixels * 4 + (1 << 20);
// What the decoder may hold at once. An interlaced 16-bit PNG, the costliest layout, holds
// up to 28 bytes a pixel (its inflated rows in a buffer grown by doubling, its 16-bit
// pixels, a pass and the 8-bit result); besides, the compressed data it gathers (at most
// the file) and its tables. More means data that inflates beyond its image. Whatever the
// image, no decode holds more than 144 MiB: only such PNGs beyond 5 Mi pixels need more.
constexpr size_t kDecodeBytesPerPixel = 28;
constexpr size_t kDecodeTableBytes = 1 << 20;
constexpr size_t kMaxDecodeBytes = 144 << 20;

// Pixel bytes of all decoded images alive at once in the process. A skin can name one
// small file under many names (or many small files), each decoding to the largest size;
// the client's own skin holds under 3 MiB.
constexpr size_t kMaxLiveImageBytes = 64 << 20;
std::atomic<size_t> g_liveImageBytes{0};

// A share of the live-image budget, given back unless the image it was taken for is kept.
class CImageBudget {
public:
    explicit CImageBudget(size_t bytes) : m_bytes(bytes) {
        size_t live = g_liveImageBytes.load();
        do {
            if (live > kMaxLiveImageBytes || bytes > kMaxLiveImageBytes - live) return;
        } while (!g_liveImageBytes.compare_exchange_weak(live, live + bytes));
        m_taken = true;
    }
    ~CImageBudget() {
        if (m_taken) Release(m_bytes);
    }
    CImageBudget(const CImageBudget&) = delete;
    CImageBudget& operator=(const CImageBudget&) = delete;

    explicit operator bool() const { return m_taken; }
    /// The image was kept: its record gives the share back when it is freed.
    size_t Keep() {
        m_taken = false;
        return m_bytes;
    }
    static void Release(size_t bytes) {
        size_t live = g_liveImageBytes.load();
        while (!g_liveImageBytes.compare_exchange_weak(live, live > bytes ? live - bytes : 0)) {
        }
    }

private:
    size_t m_bytes;
    bool m_taken = false;
};

// The name of an image for trace lines.
CSkinString ImageName(STRINGorID image) {
    CSkinString name;
    if (image.GetName() != nullptr) {
        name = image.GetName();
    } else {
        name.SmallFormat(L"#%u", image.GetId());
    }
    return name;
}

TImageInfo* DecodeImage(const unsigned char* data, DWORD size, DWORD mask, STRINGorID image) {
    const int length = static_cast<int>(size);
    int width = 0;
    int height = 0;
    // The header first: absurd sizes are refused before anything is allocated.
    if (!SkinImageInfo(data, length, &width, &height) || width <= 0 || height <= 0) return nullptr;
    if (width > kMaxImageSide || height > kMaxImageSide ||
        static_cast<long long>(width) * height > kMaxImagePixels) {
        SKIN__Trace(L"SkinUI: image %s refused: %d x %d pixels, beyond %d a side or %d in all",
                    ImageName(image).GetData(), width, height, kMaxImageSide, kMaxImagePixels);
        return nullptr;
    }
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    CImageBudget budget(count * 4);
    if (!budget) {
        SKIN__Trace(L"SkinUI: image %s refused: %d x %d pixels would take decoded images "
                    L"beyond %d MiB",
                    ImageName(image).GetData(), width, height,
                    static_cast<int>(kMaxLiveImageBytes >> 20));
        return nullptr;
    }
    const size_t allowance =
        std::min(kDecodeBytesPerPixel * count + size + kDecodeTableBytes, kMaxDecodeBytes);
    int decodedWidth = 0;
    int decodedHeight = 0;
    unsigned char* rgba = SkinImageLoad(data, length, &decodedWidth, &decodedHeight, allowance);
    if (rgba == nullptr) return nullptr;
    if (decodedWidth != width || decodedHeight != height) {
        SkinImageFree(rgba);
        return nullptr;
    }
    DWORD* pixels = nullptr;
    CGdiBitmap bitmap = CreateTopDownDib(nullptr, width, height, &pixels);
    if (!bitmap) {
        SkinImageFree(rgba);
        return nullptr;
    }
    bool alphaChannel = false;
    const unsigned char* source = rgba;
    for (size_t i = 0; i < count; ++i, source += 4) {
        const DWORD alpha = source[3];
        DWORD red = source[0];
        DWORD green = source[1];
        DWORD blue = source[2];
        if (alpha < 255) {
            red = red * alpha / 255;
            green = green * alpha / 255;
            blue = blue * alpha / 255;
            alphaChannel = true;
        }
        DWORD pixel = (alpha << 24) | (red << 16) | (green << 8) | blue;
        if (pixel == mask) {
            pixel = 0;
            alphaChannel = true;
        }
        pixels[i] = pixel;
    }
    SkinImageFree(rgba);
    TImageInfo* info = new (std::nothrow) TImageInfo;
    if (info == nullptr) return nullptr;
    info->bitmap = bitmap.Detach();
    info->width = width;
    info->height = height;
    info->alphaChannel = alphaChannel;
    info->decodedBytes = budget.Keep();
    return info;
}

// ---------------------------------------------------------------------------
// Image attribute strings

bool IsBlank(wchar_t ch) {
    return ch != L'\0' && ch <= L' ';
}

const wchar_t* SkipBlanks(const wchar_t* p) {
    while (IsBlank(*p))
        ++p;
    return p;
}

int ClampToInt(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

// "#RRGGBB..", "0x..." or bare hexadecimal digits.
DWORD ReadHexColor(const wchar_t* value) {
    if (*value == L'#') ++value;
    return static_cast<DWORD>(std::wcstoul(value, nullptr, 16));
}

bool ReadBool(const wchar_t* value) {
    return std::wcscmp(value, L"true") == 0;
}

void ApplyImageItem(const CSkinString& key, const CSkinString& value, const RECT& item,
                    TImageAttributes& attributes, int& imageCount, PendingImageHandler onPending,
                    void* context) {
    if (key == L"file" || key == L"res") {
        // A new image name finishes the one this string named before.
        if (imageCount > 0 && onPending != nullptr) onPending(context, attributes);
        attributes.name = value;
        if (key == L"file") ++imageCount;
    } else if (key == L"restype") {
        attributes.resourceType = value;
    } else if (key == L"dest") {
        const RECT offsets = ReadRect(value);
        const long long right = static_cast<long long>(item.left) + offsets.right;
        const long long bottom = static_cast<long long>(item.top) + offsets.bottom;
        attributes.dest.left = ClampToInt(static_cast<long long>(item.left) + offsets.left);
        attributes.dest.top = ClampToInt(static_cast<long long>(item.top) + offsets.top);
        attributes.dest.right = right > item.right ? item.right : ClampToInt(right);
        attributes.dest.bottom = bottom > item.bottom ? item.bottom : ClampToInt(bottom);
    } else if (key == L"source") {
        attributes.source = ReadRect(value);
    } else if (key == L"corner") {
        attributes.corner = ReadRect(value);
    } else if (key == L"mask") {
        attributes.mask = ReadHexColor(value);
    } else if (key == L"fade") {
        attributes.fade = static_cast<BYTE>(std::wcstoul(value, nullptr, 10));
    } else if (key == L"hole") {
        attributes.hole = ReadBool(value);
    } else if (key == L"xtiled") {
        attributes.xTiled = ReadBool(value);
    } else if (key == L"ytiled") {
        attributes.yTiled = ReadBool(value);
    }
}

// ---------------------------------------------------------------------------
// Nine-grid cells

// Indexes of the tiles, `step` long from `from` on (the last one cut at `to`), that meet
// [visibleFrom, visibleTo): from `first` up to, not including, `end`.
struct TileRange {
    long long first = 0;
    long long end = 0;
};

TileRange VisibleTiles(int from, int to, int step, int visibleFrom, int visibleTo) {
    TileRange range;
    const long long start = from > visibleFrom ? from : visibleFrom;
    const long long stop = to < visibleTo ? to : visibleTo;
    if (step <= 0 || start >= stop) return range;
    range.first = (start - from) / step;
    range.end = (stop - 1 - from) / step + 1;
    return range;
}

// Tiles repeated both ways that are this small (in either direction), this many of them on
// the screen, are first repeated into a pattern of at least kPatternSide pixels a side.
constexpr int kPatternSide = 64;
constexpr long long kPatternTiles = 256;

// Whole tiles of part of a selected bitmap, repeated into a 32-bit DIB of at least
// kPatternSide pixels a side, selected into a memory DC of its own while it lives.
class CTilePattern {
public:
    CTilePattern(HDC bitmapDC, const RECT& tile) {
        const int width = tile.right - tile.left;
        const int height = tile.bottom - tile.top;
        m_width = width * ((kPatternSide + width - 1) / width);
        m_height = height * ((kPatternSide + height - 1) / height);
        DWORD* pixels = nullptr;
        if (!m_surface.Create(bitmapDC, CreateTopDownDib(bitmapDC, m_width, m_height, &pixels)))
            return;
        const HDC dc = m_surface.GetDC();
        // One tile, then what is filled doubled across, then down: plain copies of all four
        // channels.
        bool copied =
            BitBlt(dc, 0, 0, width, height, bitmapDC, tile.left, tile.top, SRCCOPY) != FALSE;
        for (int filled = width; copied && filled < m_width; filled *= 2) {
            copied = BitBlt(dc, filled, 0, std::min(filled, m_width - filled), height, dc, 0, 0,
                            SRCCOPY) != FALSE;
        }
        for (int filled = height; copied && filled < m_height; filled *= 2) {
            copied = BitBlt(dc, 0, filled, m_width, std::min(filled, m_height - filled), dc, 0, 0,
                            SRCCOPY) != FALSE;
        }
        m_ready = copied;
    }
    CTilePattern(const CTilePattern&) = delete;
    CTilePattern& operator=(const CTilePattern&) = delete;

    explicit operator bool() const { return m_ready; }
    HDC dc() const { return m_surface.GetDC(); }
    RECT rect() const { return RECT{0, 0, m_width, m_height}; }

private:
    CBitmapDC m_surface;
    int m_width = 0;
    int m_height = 0;
    bool m_ready = false;
};

// Draws cells of one selected bitmap onto a target, skipping cells that have no area or
// miss the paint rectangle.
class CCellPainter {
public:
    /// Cells are copied with GDI, or blended with `blend` when `blended`.
    CCellPainter(HDC target, HDC bitmapDC, const RECT& paint, bool blended, BLENDFUNCTION blend)
        : m_target(target), m_bitmapDC(bitmapDC), m_paint(paint), m_blended(blended),
          m_blend(blend) {}

    /// `source` scaled onto `dest` (both as left, top, right, bottom). Along a side longer
    /// than kMaxDrawSpan only the visible part is drawn (see CutSpan): GDI and the blends
    /// cost what the whole destination measures, seen or not.
    void Draw(const RECT& dest, const RECT& source) const {
        if (IsEmptyArea(dest) || IsEmptyArea(source) || !Touches(dest, m_paint)) return;
        if (static_cast<long long>(dest.right) - dest.left <= kMaxDrawSpan &&
            static_cast<long long>(dest.bottom) - dest.top <= kMaxDrawSpan) {
            DrawWhole(dest, source);
            return;
        }
        RECT visible = m_paint;
        RECT clip;
        if (GetClipBox(m_target, &clip) != ERROR && !IntersectRect(&visible, &visible, &clip))
            return;
        Span columns[kMaxSpans];
        Span rows[kMaxSpans];
        const int columnCount = CutSpan(dest.left, dest.right, source.left, source.right,
                                        visible.left, visible.right, columns);
        const int rowCount = CutSpan(dest.top, dest.bottom, source.top, source.bottom, visible.top,
                                     visible.bottom, rows);
        for (int row = 0; row < rowCount; ++row) {
            for (int column = 0; column < columnCount; ++column) {
                DrawWhole(RECT{columns[column].destFrom, rows[row].destFrom, columns[column].destTo,
                               rows[row].destTo},
                          RECT{columns[column].sourceFrom, rows[row].sourceFrom,
                               columns[column].sourceTo, rows[row].sourceTo});
            }
        }
    }

private:
    /// Longest side of a destination drawn whole; far beyond any screen.
    static constexpr int kMaxDrawSpan = 16384;
    static constexpr int kMaxSpans = 4;

    /// One piece of a cut side: a run of source pixels and where it lands.
    struct Span {
        int destFrom, destTo, sourceFrom, sourceTo;
    };

    /// Cuts one side of a scaled copy to the visible range: the whole source pixels that
    /// land there and the exact place they land (a scaled copy maps source pixel edges to
    /// these places). When each of those pixels covers more than the visible range itself
    /// would measure, the pixels go one by one, each cut to the visible range; at most
    /// kMaxSpans of them can then be visible. Sides up to kMaxDrawSpan stay whole. Returns
    /// the number of spans.
    static int CutSpan(int destFrom, int destTo, int sourceFrom, int sourceTo, int visibleFrom,
                       int visibleTo, Span* spans) {
        const long long destLength = static_cast<long long>(destTo) - destFrom;
        const long long sourceLength = static_cast<long long>(sourceTo) - sourceFrom;
        if (destLength <= kMaxDrawSpan) {
            spans[0] = Span{destFrom, destTo, sourceFrom, sourceTo};
            return 1;
        }
        const long long from = std::max<long long>(destFrom, visibleFrom);
        const long long to = std::min<long long>(destTo, visibleTo);
        if (from >= to) return 0;
        // Source pixels [first, last) cover the visible range; pixel edge k lands at
        // destFrom + k * destLength / sourceLength. Both lengths may come near 2^32, so the
        // products are taken in floating point.
        const double scale = static_cast<double>(destLength) / static_cast<double>(sourceLength);
        const long long first = static_cast<long long>(std::floor((from - destFrom) / scale));
        const long long last =
            std::min(sourceLength, static_cast<long long>(std::ceil((to - destFrom) / scale)));
        const auto edge = [&](long long k) {
            return destFrom + static_cast<long long>(std::floor(static_cast<double>(k) * scale));
        };
        if (edge(last) - edge(first) <= 2 * (to - from) + 2 * kMaxSpans) {
            spans[0] =
                Span{static_cast<int>(edge(first)), static_cast<int>(edge(last)),
                     static_cast<int>(sourceFrom + first), static_cast<int>(sourceFrom + last)};
            return 1;
        }
        int count = 0;
        for (long long k = first; k < last && count < kMaxSpans; ++k) {
            const long long pixelFrom = std::max(edge(k), from);
            const long long pixelTo = std::min(edge(k + 1), to);
            if (pixelFrom >= pixelTo) continue;
            spans[count++] =
                Span{static_cast<int>(pixelFrom), static_cast<int>(pixelTo),
                     static_cast<int>(sourceFrom + k), static_cast<int>(sourceFrom + k + 1)};
        }
        return count;
    }

    void DrawWhole(const RECT& dest, const RECT& source) const {
        const int width = dest.right - dest.left;
        const int height = dest.bottom - dest.top;
        const int sourceWidth = source.right - source.left;
        const int sourceHeight = source.bottom - source.top;
        // Smoothing matters where pixels are dropped; enlarging repeats them either way,
        // and the smoothing mode costs many times more there.
        const bool shrinking = width < sourceWidth || height < sourceHeight;
        SetStretchBltMode(m_target, shrinking ? HALFTONE : COLORONCOLOR);
        if (m_blended) {
            Blend(m_target, dest.left, dest.top, width, height, m_bitmapDC, source.left, source.top,
                  sourceWidth, sourceHeight, m_blend);
        } else if (width == sourceWidth && height == sourceHeight) {
            BitBlt(m_target, dest.left, dest.top, width, height, m_bitmapDC, source.left,
                   source.top, SRCCOPY);
        } else {
            StretchBlt(m_target, dest.left, dest.top, width, height, m_bitmapDC, source.left,
                       source.top, sourceWidth, sourceHeight, SRCCOPY);
        }
    }

public:
    /// The middle cell, stretched or repeated. A source middle without width (or height)
    /// in the tiled direction has nothing to repeat and draws nothing. Only the tiles that
    /// meet the paint rectangle and the target's clip are visited, so a destination far
    /// larger than the screen costs what its visible part costs.
    void DrawMiddle(const RECT& dest, const RECT& source, bool xTiled, bool yTiled) const {
        if (!xTiled && !yTiled) {
            Draw(dest, source);
            return;
        }
        if (IsEmptyArea(dest) || IsEmptyArea(source) || !Touches(dest, m_paint)) return;
        RECT visible = m_paint;
        RECT clip;
        if (GetClipBox(m_target, &clip) != ERROR && !IntersectRect(&visible, &visible, &clip))
            return;
        // Whole tiles, the last one cut at the edge (it takes the leading source part).
        const int rowStep = yTiled ? source.bottom - source.top : dest.bottom - dest.top;
        const int columnStep = xTiled ? source.right - source.left : dest.right - dest.left;
        const TileRange rows =
            VisibleTiles(dest.top, dest.bottom, rowStep, visible.top, visible.bottom);
        const TileRange columns =
            VisibleTiles(dest.left, dest.right, columnStep, visible.left, visible.right);
        // Many small tiles: the pattern holds whole tiles and tiles in their place, so every
        // pixel stays the same at a small share of the copies.
        if (xTiled && yTiled && (columnStep < kPatternSide || rowStep < kPatternSide) &&
            (rows.end - rows.first) * (columns.end - columns.first) > kPatternTiles) {
            const CTilePattern pattern(m_bitmapDC, source);
            const int state = pattern ? SaveDC(m_target) : 0;
            if (state != 0) {
                // No further than the small tiles meeting the visible part would reach.
                IntersectClipRect(
                    m_target, static_cast<int>(dest.left + columns.first * columnStep),
                    static_cast<int>(dest.top + rows.first * rowStep),
                    static_cast<int>(
                        std::min<long long>(dest.left + columns.end * columnStep, dest.right)),
                    static_cast<int>(
                        std::min<long long>(dest.top + rows.end * rowStep, dest.bottom)));
                const CCellPainter painter(m_target, pattern.dc(), m_paint, m_blended, m_blend);
                painter.DrawMiddle(dest, pattern.rect(), true, true);
                RestoreDC(m_target, state);
                return;
            }
        }
        for (long long row = rows.first; row < rows.end; ++row) {
            const int top = static_cast<int>(dest.top + row * rowStep);
            const int bottom = static_cast<int>(
                std::min<long long>(static_cast<long long>(top) + rowStep, dest.bottom));
            const int sourceBottom = yTiled ? source.top + (bottom - top) : source.bottom;
            for (long long column = columns.first; column < columns.end; ++column) {
                const int left = static_cast<int>(dest.left + column * columnStep);
                const int right = static_cast<int>(
                    std::min<long long>(static_cast<long long>(left) + columnStep, dest.right));
                const int sourceRight = xTiled ? source.left + (right - left) : source.right;
                Draw(RECT{left, top, right, bottom},
                     RECT{source.left, source.top, sourceRight, sourceBottom});
            }
        }
    }

private:
    HDC m_target;
    HDC m_bitmapDC;
    RECT m_paint;
    bool m_blended;
    BLENDFUNCTION m_blend;
};

// ---------------------------------------------------------------------------
// Images selected for drawing

// A bitmap selected into a memory DC while it is drawn. Making a DC for every image costs
// more than drawing a small image, so one DC is kept for the process (drawing happens on
// the user-interface thread); a draw that finds it in use makes its own.
class CSelectedImage {
public:
    CSelectedImage(HDC target, HBITMAP bitmap) {
        static CMemoryDC shared;
        HDC dc = nullptr;
        if (!s_sharedInUse) {
            if (!shared) shared.Reset(CreateCompatibleDC(nullptr));
            dc = shared.Get();
            m_shared = dc != nullptr;
        }
        if (dc == nullptr) {
            m_own.Reset(CreateCompatibleDC(target));
            dc = m_own.Get();
        }
        m_selection = CSelection(dc, bitmap);
        m_dc = dc;
        // Only a selection that holds keeps the shared DC from others.
        m_shared = m_shared && m_selection;
        if (m_shared) s_sharedInUse = true;
    }
    ~CSelectedImage() {
        m_selection.Reset();
        if (m_shared) s_sharedInUse = false;
    }
    CSelectedImage(const CSelectedImage&) = delete;
    CSelectedImage& operator=(const CSelectedImage&) = delete;

    /// False when the bitmap could not be selected (or no DC made).
    explicit operator bool() const { return static_cast<bool>(m_selection); }
    HDC dc() const { return m_dc; }

private:
    static bool s_sharedInUse;
    CMemoryDC m_own; // when the shared DC is in use
    CSelection m_selection;
    HDC m_dc = nullptr;
    bool m_shared = false;
};

bool CSelectedImage::s_sharedInUse = false;

// ---------------------------------------------------------------------------
// Gradients

// The system's two-colour gradient over `rc`; false when it has none or fails.
bool FillGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical) {
    GradientFillProc gradientFill = SystemGradientFill();
    if (gradientFill == nullptr) return false;
    TRIVERTEX corners[2] = {};
    corners[0].x = rc.left;
    corners[0].y = rc.top;
    corners[1].x = rc.right;
    corners[1].y = rc.bottom;
    const DWORD colors[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        corners[i].Red = static_cast<COLOR16>(Channel(colors[i], 16) << 8);
        corners[i].Green = static_cast<COLOR16>(Channel(colors[i], 8) << 8);
        corners[i].Blue = static_cast<COLOR16>(Channel(colors[i], 0) << 8);
        corners[i].Alpha = 0xFF00;
    }
    GRADIENT_RECT span = {0, 1};
    return gradientFill(hDC, corners, 2, &span, 1,
                        vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H) != FALSE;
}

// Opaque bands instead, more of them for more steps (2 to 64): band 0 in the second colour
// at the bottom (or right) edge, each further band a step closer to the first colour.
void FillGradientBands(DWORD* pixels, int width, int height, DWORD first, DWORD second,
                       bool vertical, int steps) {
    const int shift = steps >= 64   ? 6
                      : steps >= 32 ? 5
                      : steps >= 16 ? 4
                      : steps >= 8  ? 3
                      : steps >= 4  ? 2
                                    : 1;
    const int bands = 1 << shift;
    const long long extent = vertical ? height : width;
    for (int i = 0; i < bands; ++i) {
        DWORD color = 0xFF000000;
        for (int channel = 0; channel < 24; channel += 8) {
            const DWORD mixed = Channel(second, channel) * static_cast<DWORD>(bands - i) +
                                Channel(first, channel) * static_cast<DWORD>(i);
            color |= (mixed >> shift) << channel;
        }
        const int nearEdge = static_cast<int>(extent - ((i * extent) >> shift));
        const int farEdge = static_cast<int>(extent - (((i + 1) * extent) >> shift));
        for (int line = farEdge; line < nearEdge; ++line) {
            if (vertical) {
                DWORD* row = pixels + static_cast<size_t>(line) * width;
                for (int x = 0; x < width; ++x)
                    row[x] = color;
            } else {
                for (int y = 0; y < height; ++y)
                    pixels[static_cast<size_t>(y) * width + line] = color;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Colour model of the global tint

struct Hsl {
    double hue;        // degrees
    double saturation; // 0..1
    double lightness;  // 0..1
};

Hsl ToHsl(double r, double g, double b) {
    const double lowest = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const double highest = r > g ? (r > b ? r : b) : (g > b ? g : b);
    Hsl hsl = {0.0, 0.0, (lowest + highest) / 2.0};
    if (lowest == highest) return hsl;
    double f;
    double i;
    if (r == lowest) {
        f = g - b;
        i = 3.0;
    } else if (g == lowest) {
        f = b - r;
        i = 5.0;
    } else {
        f = r - g;
        i = 1.0;
    }
    double hue = i - f / (highest - lowest);
    if (hue >= 6.0) hue -= 6.0;
    hsl.hue = hue * 60.0;
    hsl.saturation = 2.0 * hsl.lightness <= 1.0 ? (highest - lowest) / (highest + lowest)
                                                : (highest - lowest) / (2.0 - highest - lowest);
    return hsl;
}

double HueChannel(double p, double q, double t) {
    if (t < 0.0) t += 1.0;
    if (t > 1.0) t -= 1.0;
    if (6.0 * t < 1.0) return p + (q - p) * 6.0 * t;
    if (2.0 * t < 1.0) return q;
    if (3.0 * t < 2.0) return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    return p;
}

DWORD ToByte(double value) {
    const double scaled = value * 255.0;
    if (!(scaled > 0.0)) return 0;
    if (scaled >= 255.0) return 255;
    return static_cast<DWORD>(scaled);
}

} // namespace

// ---------------------------------------------------------------------------
// Images

TImageInfo* CRenderEngine::LoadImageW(STRINGorID bitmap, const wchar_t* type, DWORD mask) {
    CSkinFileBytes bytes;
    SkinFileResult read = ReadSkinFile(bitmap.GetValue(), type, kMaxImageFileBytes, bytes);
    // Last resort: the name as a path of its own. An id is no path.
    if (read != SKINFILE_OK && bitmap.GetName() != nullptr) {
        read = ReadFileBytes(bitmap.GetName(), kMaxImageFileBytes, bytes);
    }
    if (read != SKINFILE_OK) return nullptr;
    return DecodeImage(bytes.GetData(), bytes.GetSize(), mask, bitmap);
}

TImageInfo* CRenderEngine::LoadImageFromHICON(HICON icon) {
    if (icon == nullptr) return nullptr;
    namespace flat = Gdiplus::DllExports;
    // GDI+ is started for this one conversion; starts are counted, so an application that
    // runs GDI+ itself keeps it running.
    CGdiplusSession session;
    if (!session.Start()) return nullptr;
    CGdiplusObject<Gdiplus::GpBitmap> image;
    CGdiBitmap bitmap;
    UINT width = 0;
    UINT height = 0;
    if (flat::GdipCreateBitmapFromHICON(icon, image.Receive()) != Gdiplus::Ok ||
        flat::GdipCreateHBITMAPFromBitmap(image.Get(), bitmap.Receive(), 0xFF000000) !=
            Gdiplus::Ok ||
        flat::GdipGetImageWidth(image.Get(), &width) != Gdiplus::Ok ||
        flat::GdipGetImageHeight(image.Get(), &height) != Gdiplus::Ok) {
        return nullptr;
    }
    TImageInfo* info = new (std::nothrow) TImageInfo;
    if (info == nullptr) return nullptr;
    info->bitmap = bitmap.Detach();
    info->width = static_cast<int>(width);
    info->height = static_cast<int>(height);
    info->alphaChannel = false;
    return info;
}

void CRenderEngine::FreeImage(TImageInfo* info) {
    if (info == nullptr) return;
    CImageBudget::Release(info->decodedBytes);
    const CGdiBitmap bitmap(info->bitmap); // the record owns its bitmap
    delete info;
}

// ---------------------------------------------------------------------------
// Image attribute strings and image drawing

TImageAttributes::TImageAttributes(const wchar_t* imageString, const RECT& item)
    : name(imageString != nullptr ? imageString : L""), dest(item) {}

void CRenderEngine::ParseImageString(const wchar_t* text, const RECT& item,
                                     TImageAttributes& attributes, PendingImageHandler onPending,
                                     void* context) {
    if (text == nullptr) return;
    int imageCount = 0;
    const wchar_t* p = text;
    for (;;) {
        p = SkipBlanks(p);
        const wchar_t* key = p;
        while (*p != L'\0' && *p != L'=' && !IsBlank(*p))
            ++p;
        const CSkinString itemKey(key, static_cast<int>(p - key));
        p = SkipBlanks(p);
        if (*p != L'=') return;
        p = SkipBlanks(p + 1);
        if (*p != L'\'') return;
        const wchar_t* value = ++p;
        while (*p != L'\0' && *p != L'\'')
            ++p;
        if (*p != L'\'') return;
        const CSkinString itemValue(value, static_cast<int>(p - value));
        ++p;
        if (!itemValue.IsEmpty()) {
            ApplyImageItem(itemKey, itemValue, item, attributes, imageCount, onPending, context);
        }
        // Items are separated by a space; anything else ends the string.
        if (*p != L' ') return;
    }
}

bool CRenderEngine::DrawImageStrings(HDC hDC, const RECT& item, const RECT& paint,
                                     const wchar_t* image, const wchar_t* modifier,
                                     ImageLookup lookup, void* lookupContext) {
    if (hDC == nullptr || lookup == nullptr) return false;
    struct Target {
        HDC hDC;
        const RECT& item;
        const RECT& paint;
        ImageLookup lookup;
        void* lookupContext;
    } target = {hDC, item, paint, lookup, lookupContext};
    const PendingImageHandler draw = [](void* context, const TImageAttributes& attributes) {
        const Target& to = *static_cast<const Target*>(context);
        if (attributes.name.IsEmpty()) return;
        const wchar_t* type =
            attributes.resourceType.IsEmpty() ? nullptr : attributes.resourceType.GetData();
        const TImageInfo* found =
            to.lookup(to.lookupContext, attributes.name, type, attributes.mask);
        if (found != nullptr) DrawImageAttributes(to.hDC, found, attributes, to.item, to.paint);
    };
    // Each image is drawn over the whole item: a string naming thousands of them would
    // cost seconds per paint, so such a string is refused before anything is drawn.
    int images = 1; // the one pending at the end
    const PendingImageHandler count = [](void* context, const TImageAttributes&) {
        ++*static_cast<int*>(context);
    };
    TImageAttributes counted(image, item);
    ParseImageString(image, item, counted, count, &images);
    ParseImageString(modifier, item, counted, count, &images);
    if (images > kMaxImagesPerString) {
        SKIN__Trace(L"SkinUI: image string refused: it draws %d images, at most %d are drawn",
                    images, kMaxImagesPerString);
        return false;
    }
    TImageAttributes attributes(image, item);
    ParseImageString(image, item, attributes, draw, &target);
    // The modifier counts its own images: its "file" replaces the pending one undrawn.
    ParseImageString(modifier, item, attributes, draw, &target);
    draw(&target, attributes);
    return true;
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* manager, const RECT& item,
                                    const RECT& paint, const wchar_t* image,
                                    const wchar_t* modifier) {
    if (hDC == nullptr || manager == nullptr) return false;
    const ImageLookup fromCache = [](void* context, const wchar_t* name,
                                     const wchar_t* resourceType, DWORD mask) -> const TImageInfo* {
        return static_cast<CPaintManagerUI*>(context)->GetImageEx(name, resourceType, mask);
    };
    return DrawImageStrings(hDC, item, paint, image, modifier, fromCache, manager);
}

void CRenderEngine::DrawImageAttributes(HDC hDC, const TImageInfo* image,
                                        const TImageAttributes& attributes, const RECT& item,
                                        const RECT& paint) {
    if (hDC == nullptr || image == nullptr || image->bitmap == nullptr) return;
    RECT source = attributes.source;
    if (source.left == 0 && source.top == 0 && source.right == 0 && source.bottom == 0) {
        source.right = image->width;
        source.bottom = image->height;
    }
    if (source.right > image->width) source.right = image->width;
    if (source.bottom > image->height) source.bottom = image->height;
    if (!Touches(attributes.dest, item) || !Touches(attributes.dest, paint)) return;
    DrawImage(hDC, image->bitmap, attributes.dest, paint, source, attributes.corner,
              image->alphaChannel, attributes.fade, attributes.hole, attributes.xTiled,
              attributes.yTiled);
}

void CRenderEngine::DrawImage(HDC hDC, HBITMAP bitmap, const RECT& dest, const RECT& paint,
                              const RECT& source, const RECT& corners, bool alphaChannel, BYTE fade,
                              bool hole, bool xTiled, bool yTiled) {
    if (hDC == nullptr || bitmap == nullptr) return;
    const CSelectedImage selected(hDC, bitmap);
    if (!selected) return;
    HDC bitmapDC = selected.dc();
    const int oldStretchMode = SetStretchBltMode(hDC, HALFTONE);

    const bool blended = alphaChannel || fade < 255;
    // GDI's scaled copies lose alpha on a 32-bit surface (a layered window's bitmap). There
    // an opaque image is blended too, as a plain copy of all four channels, so that it
    // stays opaque.
    DIBSECTION section;
    const bool blendCells = blended || GetAlphaSurface(hDC, section);
    BLENDFUNCTION blend = PremultipliedBlend(fade);
    if (!blended) blend.AlphaFormat = 0;
    const RECT& d = dest;
    const RECT& s = source;
    const RECT& c = corners;
    const bool noCorners = c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0;
    if (!blended && !hole && noCorners && d.right - d.left == s.right - s.left &&
        d.bottom - d.top == s.bottom - s.top) {
        // One unscaled copy of just the repainted part.
        RECT part;
        if (IntersectRect(&part, &d, &paint)) {
            BitBlt(hDC, part.left, part.top, part.right - part.left, part.bottom - part.top,
                   bitmapDC, s.left + (part.left - d.left), s.top + (part.top - d.top), SRCCOPY);
        }
    } else {
        const CCellPainter cells(hDC, bitmapDC, paint, blendCells, blend);
        if (!hole) {
            cells.DrawMiddle(
                RECT{d.left + c.left, d.top + c.top, d.right - c.right, d.bottom - c.bottom},
                RECT{s.left + c.left, s.top + c.top, s.right - c.right, s.bottom - c.bottom},
                xTiled, yTiled);
        }
        if (c.left > 0 && c.top > 0) {
            cells.Draw(RECT{d.left, d.top, d.left + c.left, d.top + c.top},
                       RECT{s.left, s.top, s.left + c.left, s.top + c.top});
        }
        if (c.top > 0) {
            cells.Draw(RECT{d.left + c.left, d.top, d.right - c.right, d.top + c.top},
                       RECT{s.left + c.left, s.top, s.right - c.right, s.top + c.top});
        }
        if (c.right > 0 && c.top > 0) {
            cells.Draw(RECT{d.right - c.right, d.top, d.right, d.top + c.top},
                       RECT{s.right - c.right, s.top, s.right, s.top + c.top});
        }
        if (c.left > 0) {
            cells.Draw(RECT{d.left, d.top + c.top, d.left + c.left, d.bottom - c.bottom},
                       RECT{s.left, s.top + c.top, s.left + c.left, s.bottom - c.bottom});
        }
        if (c.right > 0) {
            cells.Draw(RECT{d.right - c.right, d.top + c.top, d.right, d.bottom - c.bottom},
                       RECT{s.right - c.right, s.top + c.top, s.right, s.bottom - c.bottom});
        }
        if (c.left > 0 && c.bottom > 0) {
            cells.Draw(RECT{d.left, d.bottom - c.bottom, d.left + c.left, d.bottom},
                       RECT{s.left, s.bottom - c.bottom, s.left + c.left, s.bottom});
        }
        if (c.bottom > 0) {
            cells.Draw(RECT{d.left + c.left, d.bottom - c.bottom, d.right - c.right, d.bottom},
                       RECT{s.left + c.left, s.bottom - c.bottom, s.right - c.right, s.bottom});
        }
        if (c.right > 0 && c.bottom > 0) {
            cells.Draw(RECT{d.right - c.right, d.bottom - c.bottom, d.right, d.bottom},
                       RECT{s.right - c.right, s.bottom - c.bottom, s.right, s.bottom});
        }
    }

    SetStretchBltMode(hDC, oldStretchMode);
}

// ---------------------------------------------------------------------------
// Colours and primitives

DWORD CRenderEngine::AdjustColor(DWORD color, short h, short s, short l) {
    if (h == 180 && s == 100 && l == 100) return color;
    Hsl hsl =
        ToHsl(Channel(color, 0) / 255.0, Channel(color, 8) / 255.0, Channel(color, 16) / 255.0);
    hsl.hue += h - 180;
    if (!(hsl.hue > 0.0)) hsl.hue += 360.0;
    hsl.saturation *= s / 100.0;
    hsl.lightness *= l / 100.0;
    const double q = 2.0 * hsl.lightness < 1.0
                         ? (1.0 + hsl.saturation) * hsl.lightness
                         : hsl.lightness + hsl.saturation - hsl.lightness * hsl.saturation;
    const double p = 2.0 * hsl.lightness - q;
    const double hue = hsl.hue / 360.0;
    const DWORD first = ToByte(HueChannel(p, q, hue + 1.0 / 3.0));
    const DWORD second = ToByte(HueChannel(p, q, hue));
    const DWORD third = ToByte(HueChannel(p, q, hue - 1.0 / 3.0));
    return (color & 0xFF000000) | (third << 16) | (second << 8) | first;
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color) {
    if (hDC == nullptr || color <= 0x00FFFFFF) return;
    DIBSECTION section;
    if (color >= 0xFF000000 && !GetAlphaSurface(hDC, section)) {
        // Opaque on a surface without alpha: the plain fast fill.
        const COLORREF oldColor = SetBkColor(hDC, ToColorRef(color));
        ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
        SetBkColor(hDC, oldColor);
        return;
    }
    // One premultiplied pixel blended over the rectangle: correct over any background,
    // and opaque colours stay opaque on surfaces with alpha.
    DWORD* pixel = nullptr;
    const CGdiBitmap bitmap = CreateTopDownDib(hDC, 1, 1, &pixel);
    if (!bitmap) return;
    *pixel = Premultiply(color);
    const RECT source = {0, 0, 1, 1};
    const RECT noCorners = {0, 0, 0, 0};
    DrawImage(hDC, bitmap.Get(), rc, rc, source, noCorners, true);
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical,
                                 int steps) {
    const BYTE alpha = static_cast<BYTE>(((first >> 24) + (second >> 24)) >> 1);
    if (hDC == nullptr || alpha == 0 || IsEmptyArea(rc)) return;
    DIBSECTION section;
    if (alpha == 255 && !GetAlphaSurface(hDC, section) &&
        FillGradient(hDC, rc, first, second, vertical)) {
        return;
    }
    // Drawn opaque into a surface of our own, then blended: the result has the mean alpha,
    // and on 32-bit surfaces the right alpha bytes, with or without the system's gradients.
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    DWORD* pixels = nullptr;
    CBitmapDC surface;
    if (!surface.Create(hDC, CreateTopDownDib(hDC, width, height, &pixels))) return;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (FillGradient(surface.GetDC(), RECT{0, 0, width, height}, first, second, vertical)) {
        GdiFlush();
        for (size_t i = 0; i < count; ++i)
            pixels[i] |= 0xFF000000;
    } else {
        FillGradientBands(pixels, width, height, first, second, vertical, steps);
    }
    Blend(hDC, rc.left, rc.top, width, height, surface.GetDC(), 0, 0, width, height,
          PremultipliedBlend(alpha));
}

namespace {

// The widest pen drawn: far beyond any screen, while wider pens (a skin's border of a
// million pixels) make the platform's wide-line code overrun its memory.
constexpr int kMaxPenWidth = 8192;

int PenWidth(int size) {
    return std::min(size, kMaxPenWidth);
}

} // namespace

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style) {
    if (hDC == nullptr) return;
    size = PenWidth(size);
    LOGPEN description = {};
    description.lopnStyle = static_cast<UINT>(style);
    description.lopnWidth.x = size;
    description.lopnColor = ToColorRef(color);
    const CGdiPen pen(CreatePenIndirect(&description));
    if (!pen) return;
    const int margin = (size > 1 ? size : 1) + 1;
    RECT bounds = {rc.left < rc.right ? rc.left : rc.right, rc.top < rc.bottom ? rc.top : rc.bottom,
                   rc.left < rc.right ? rc.right : rc.left,
                   rc.top < rc.bottom ? rc.bottom : rc.top};
    InflateRect(&bounds, margin, margin);
    COpaqueGdiScope opaque(hDC, bounds);
    const CSelection selectedPen(hDC, pen.Get());
    POINT oldPosition;
    MoveToEx(hDC, rc.left, rc.top, &oldPosition);
    LineTo(hDC, rc.right, rc.bottom);
    MoveToEx(hDC, oldPosition.x, oldPosition.y, nullptr);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int size, DWORD color) {
    DrawRoundRect(hDC, rc, size, 0, 0, color);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int size, int width, int height,
                                  DWORD color) {
    if (hDC == nullptr) return;
    size = PenWidth(size);
    const CGdiPen pen(CreatePen(PS_INSIDEFRAME, size, ToColorRef(color)));
    if (!pen) return;
    RECT bounds = rc;
    const int margin = (size > 1 ? size : 1) + 1;
    InflateRect(&bounds, margin, margin);
    // The pen stays inside the frame: within the border and the corners' curves.
    RECT inside = rc;
    InflateRect(&inside, -(margin + std::abs(width) / 2), -(margin + std::abs(height) / 2));
    // The scope comes first: it must see the pixels after the pen and brush are back.
    COpaqueGdiScope opaque(hDC, bounds, inside);
    const CSelection selectedPen(hDC, pen.Get());
    const CSelection selectedBrush(hDC, GetStockObject(NULL_BRUSH));
    if (width == 0 && height == 0) {
        Rectangle(hDC, rc.left, rc.top, rc.right, rc.bottom);
    } else {
        RoundRect(hDC, rc.left, rc.top, rc.right, rc.bottom, width, height);
    }
}

// ---------------------------------------------------------------------------
// Text and snapshots

void CRenderEngine::DrawTextW(HDC hDC, CPaintManagerUI* manager, RECT& rc, const wchar_t* text,
                              DWORD color, int font, UINT format) {
    if (hDC == nullptr || manager == nullptr || text == nullptr) return;
    format |= DT_NOPREFIX;
    const int oldMode = SetBkMode(hDC, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(hDC, ToColorRef(color));
    {
        const CSelection selectedFont(hDC, manager->GetFont(font));
        if ((format & DT_CALCRECT) != 0) {
            ::DrawTextW(hDC, text, -1, &rc, format);
        } else {
            // Text writes alpha 0 into surfaces with alpha; the scope keeps it visible.
            RECT bounds = rc;
            if ((format & DT_NOCLIP) != 0) GetClipBox(hDC, &bounds);
            COpaqueGdiScope opaque(hDC, bounds);
            ::DrawTextW(hDC, text, -1, &rc, format);
        }
    }
    SetTextColor(hDC, oldColor);
    SetBkMode(hDC, oldMode);
}

void CRenderEngine::DrawOpaque(HDC hDC, const RECT& bounds, void (*draw)(void* context),
                               void* context) {
    if (hDC == nullptr || draw == nullptr) return;
    COpaqueGdiScope opaque(hDC, bounds);
    draw(context);
}

SIZE CRenderEngine::GetTextSize(HDC hDC, CPaintManagerUI* manager, const wchar_t* text, int font,
                                UINT) {
    SIZE size = {0, 0};
    if (hDC == nullptr || manager == nullptr || text == nullptr) return size;
    const size_t length = std::wcslen(text);
    const CSelection selectedFont(hDC, manager->GetFont(font));
    GetTextExtentPoint32W(hDC, text, length > INT_MAX ? INT_MAX : static_cast<int>(length), &size);
    return size;
}

CGdiBitmap CRenderEngine::CreateDib32(HDC hDC, int width, int height, void** bits) {
    *bits = nullptr;
    const long long rows = height < 0 ? -static_cast<long long>(height) : height;
    if (width <= 0 || rows == 0 || width * rows > INT_MAX / 4) return CGdiBitmap();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width * rows * 4);
    void* pixels = nullptr;
    CGdiBitmap bitmap(::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!bitmap || pixels == nullptr) return CGdiBitmap();
    *bits = pixels;
    return bitmap;
}

HBITMAP CRenderEngine::GenerateBitmap(CPaintManagerUI* manager, CControlUI* control,
                                      const RECT& rc) {
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    if (manager == nullptr || control == nullptr || width <= 0 || height <= 0 || rc.right <= 0 ||
        rc.bottom <= 0 || static_cast<long long>(width) * height > INT_MAX / 4) {
        return nullptr;
    }
    // Painted the way the window paints, into a surface like the window's.
    CWindowDC screen;
    HDC paintDC = manager->GetPaintDC();
    if (paintDC == nullptr) {
        screen = CWindowDC(nullptr);
        paintDC = screen.Get();
    }
    CBitmapDC canvas;
    if (!canvas.Create(paintDC, CGdiBitmap(CreateCompatibleBitmap(paintDC, rc.right, rc.bottom))))
        return nullptr;
    void* bits = nullptr;
    CGdiBitmap snapshot = CreateDib32(paintDC, width, height, &bits); // bottom-up rows
    const CMemoryDC copyDC(CreateCompatibleDC(paintDC));
    if (!snapshot) return nullptr;
    control->DoPaint(canvas.GetDC(), rc);
    bool done = false;
    {
        const CSelection selected(copyDC.Get(), snapshot.Get());
        done = selected && BitBlt(copyDC.Get(), 0, 0, width, height, canvas.GetDC(), rc.left,
                                  rc.top, SRCCOPY) != FALSE;
        GdiFlush();
    }
    return done ? snapshot.Detach() : nullptr;
}

// ---------------------------------------------------------------------------
// Blending

bool CRenderEngine::SoftwareAlphaBlend(HDC dest, int x, int y, int width, int height, HDC source,
                                       int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                       BLENDFUNCTION blend) {
    if (dest == nullptr || source == nullptr || width <= 0 || height <= 0 || sourceWidth <= 0 ||
        sourceHeight <= 0) {
        return false;
    }
    const CMemoryDC work(CreateCompatibleDC(dest));
    if (!work) return false;
    DWORD* sourcePixels = nullptr;
    DWORD* destPixels = nullptr;
    const CGdiBitmap sourceCopy = CreateTopDownDib(dest, width, height, &sourcePixels);
    const CGdiBitmap destCopy = CreateTopDownDib(dest, width, height, &destPixels);
    bool done = false;
    if (sourceCopy && destCopy) {
        CSelection selected(work.Get(), sourceCopy.Get());
        SetStretchBltMode(work.Get(), COLORONCOLOR);
        done = selected && StretchBlt(work.Get(), 0, 0, width, height, source, sourceX, sourceY,
                                      sourceWidth, sourceHeight, SRCCOPY) != FALSE;
        // The first copy leaves before the second goes in, so the DC's own bitmap comes back.
        selected.Reset();
        selected = CSelection(work.Get(), destCopy.Get());
        done = done && selected &&
               BitBlt(work.Get(), 0, 0, width, height, dest, x, y, SRCCOPY) != FALSE;
        GdiFlush();
        if (done) {
            // Premultiplied source-over: every channel, alpha included, is
            // source × constant + target × (1 − source alpha × constant).
            const DWORD constant = blend.SourceConstantAlpha;
            const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
            const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
            for (size_t i = 0; i < count; ++i) {
                const DWORD from = sourcePixels[i];
                const DWORD to = destPixels[i];
                // Without per-pixel alpha the source counts as opaque.
                const DWORD coverage = perPixel ? from >> 24 : 255;
                const DWORD keep = 255 - (coverage * constant + 127) / 255;
                DWORD result = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    DWORD value = (Channel(from, shift) * constant + 127) / 255 +
                                  (Channel(to, shift) * keep + 127) / 255;
                    if (value > 255) value = 255;
                    result |= value << shift;
                }
                destPixels[i] = result;
            }
            done = BitBlt(dest, x, y, width, height, work.Get(), 0, 0, SRCCOPY) != FALSE;
        }
    }
    return done;
}

void CRenderEngine::SetSystemBlending(bool use) {
    g_useSystemBlending = use;
}

} // namespace SkinUI
