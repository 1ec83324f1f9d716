#include "render/HtmlLayout.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "core/Handles.h"
#include "render/HtmlMarkup.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

using HtmlMarkup::Tag;

// Line heights, paragraph spacings and pen moves are cut to this many pixels, and the
// pen never goes further down than kMaxCoordinate: huge numbers in tags cannot overflow.
constexpr long long kMaxExtent = 1 << 24;
constexpr long long kMaxCoordinate = 1 << 30;

LONG Clamp(long long value, long long low, long long high) {
    return static_cast<LONG>(value < low ? low : value > high ? high : value);
}

// Gives the text colour, background colour and background mode back at the end.
class CTextAttributes {
public:
    explicit CTextAttributes(HDC dc)
        : m_dc(dc), m_text(::GetTextColor(dc)), m_back(::GetBkColor(dc)), m_mode(::GetBkMode(dc)) {}
    ~CTextAttributes() {
        ::SetTextColor(m_dc, m_text);
        ::SetBkColor(m_dc, m_back);
        ::SetBkMode(m_dc, m_mode);
    }
    CTextAttributes(const CTextAttributes&) = delete;
    CTextAttributes& operator=(const CTextAttributes&) = delete;

private:
    HDC m_dc;
    COLORREF m_text;
    COLORREF m_back;
    int m_mode;
};

// Memory device contexts that keep one font each selected, for measuring text in fonts
// other than the default: switching the font of one device context costs far more than
// measuring in it. A few at most; beyond them the caller selects fonts as usual.
class CMeasuringContexts {
public:
    explicit CMeasuringContexts(HDC compatible) : m_compatible(compatible) {}

    /// A context with the font selected; null when no more can be made.
    HDC For(HFONT font) {
        for (const Entry& entry : m_entries)
            if (entry.font == font) return entry.dc.Get();
        if (m_entries.size() >= kMaxContexts) return nullptr;
        CMemoryDC dc(::CreateCompatibleDC(m_compatible));
        if (!dc) return nullptr;
        CSelection selection(dc.Get(), font);
        const HDC answer = dc.Get();
        m_entries.push_back(Entry{font, std::move(dc), std::move(selection)});
        return answer;
    }

private:
    static constexpr size_t kMaxContexts = 6;
    // The font leaves the context before the context goes (members end in reverse order).
    struct Entry {
        HFONT font;
        CMemoryDC dc;
        CSelection selection;
    };
    HDC m_compatible;
    std::vector<Entry> m_entries;
};

COLORREF ToColorRef(DWORD color) {
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

int Length(const wchar_t* start, const wchar_t* end) {
    return static_cast<int>(end - start);
}

// The styles open tags stack up. Nesting deeper than kMaxNesting is counted but not
// followed (the deepest style followed stays in effect): each line starts from a copy of
// the stacks, and a text of tens of thousands of unclosed tags made every line copy them
// all.
constexpr size_t kMaxNesting = 256;

template <typename T> class StyleStack {
public:
    bool empty() const { return m_values.empty(); }
    const T& back() const { return m_values.back(); }
    void push_back(const T& value) {
        if (m_values.size() < kMaxNesting)
            m_values.push_back(value);
        else
            ++m_unfollowed;
    }
    /// Closes the innermost tag: one not followed first.
    void pop_back() {
        if (m_unfollowed > 0)
            --m_unfollowed;
        else if (!m_values.empty())
            m_values.pop_back();
    }

private:
    std::vector<T> m_values;
    size_t m_unfollowed = 0;
};

// What a line carries over to the next one.
struct LineState {
    const wchar_t* position = nullptr;
    StyleStack<const TFontInfo*> fonts; // empty: the default font
    StyleStack<DWORD> colors;           // empty: the colour passed in
    StyleStack<int> spacings;           // paragraph spacings; empty: 0
    bool raw = false;
    bool selected = false;
};

enum class Pass { Measure, Draw };

// How a line ended.
enum class Step { Continue, EndLine };

// One inline image waiting to be drawn after the line's text.
struct PlacedImage {
    const TImageInfo* image;
    RECT dest;
    RECT source;
};

class CHtmlLayout {
public:
    explicit CHtmlLayout(const THtmlLayoutRequest& request)
        : m_request(request), m_rect(request.rect), m_dc(request.dc), m_manager(request.manager),
          m_singleLine((request.style & DT_SINGLELINE) != 0),
          m_wordBreak((request.style & DT_WORDBREAK) != 0),
          m_ellipsis((request.style & DT_END_ELLIPSIS) != 0),
          m_capacity(request.links != nullptr && request.targets != nullptr
                         ? std::max(request.capacity, 0)
                         : 0),
          m_defaultFont(request.manager->GetDefaultFontInfo()),
          m_fontSelection(request.dc, m_defaultFont->font), m_currentFont(m_defaultFont->font),
          m_attributes(request.dc), m_measuring(request.dc) {
        m_state.position = request.text;
        // Other contexts measure the same only without a mapping of their own.
        m_ownMeasuring =
            ::GetMapMode(request.dc) == MM_TEXT && ::GetGraphicsMode(request.dc) == GM_COMPATIBLE;
        if (!m_singleLine) {
            if ((request.style & DT_CENTER) != 0) m_alignment = 1;
            if ((request.style & DT_RIGHT) != 0) m_alignment = 2;
        }
    }

    THtmlLayoutResult Run();

private:
    /// Every line, measured and, when drawing, drawn.
    void LayOutLines();
    // ---- State of the line being laid out

    const TFontInfo* Font() const {
        return m_state.fonts.empty() ? m_defaultFont : m_state.fonts.back();
    }
    DWORD Color() const { return m_state.colors.empty() ? m_request.color : m_state.colors.back(); }
    int Spacing() const { return m_state.spacings.empty() ? 0 : m_state.spacings.back(); }
    // Font height + external leading + paragraph spacing: the least a line is high.
    LONG LeastLineHeight() const {
        const TEXTMETRICW& metrics = Font()->metrics;
        return Clamp(static_cast<long long>(metrics.tmHeight) + metrics.tmExternalLeading +
                         Spacing(),
                     0, kMaxExtent);
    }
    void RaiseLineHeight(long long height) {
        if (m_pass == Pass::Measure)
            m_lineHeight = std::max(m_lineHeight, Clamp(height, 0, kMaxExtent));
    }
    bool AtLineStart() const { return m_x == m_rect.left; }
    /// Whether the measured line may put ink inside the DC's clip box: a line more than a
    /// line's height beyond it cannot, even with glyphs that overhang their cells, and is not
    /// drawn. A long text in a small view would otherwise draw every line it holds.
    bool LineMayShow() const {
        const long long top = static_cast<long long>(m_y) - m_lineHeight;
        const long long bottom = static_cast<long long>(m_y) + 2LL * m_lineHeight;
        return bottom > m_visible.top && top < m_visible.bottom;
    }

    // ---- Lines

    Step LayOutLine();
    /// The kinds of run a line is placed in: plain text, raw text, and the spaces met
    /// where a run would start (at the start of the text or a line, or after a tag).
    enum class RunKind { Text, Raw, Spaces };
    /// Where the run of a kind starting at p ends.
    const wchar_t* RunEnd(const wchar_t* p, RunKind kind);
    void StartLinkPart();
    void FinishLineLinks(LONG shift);

    // ---- Tags

    Step HandleTag(const Tag& tag);
    void PushFont(const TFontInfo* font);
    void PopFont();
    const TFontInfo* Variant(bool bold, bool underline, bool italic);
    const TFontInfo* RequestedFont(const HtmlMarkup::FontRequest& request);
    Step PlaceImage(const Tag& tag, const HtmlMarkup::InlineImage& image);
    void OpenLink(const Tag& tag);
    void CloseLink();

    // ---- Text runs

    // How much of a run goes on the line.
    struct RunFit {
        int cut = 0;      // characters drawn
        int consumed = 0; // characters taken from the text: the cut, and a space broken at
        LONG width = 0;
        bool overflow = false; // the line ends after the run
        bool ellipsis = false; // "..." follows the cut
    };

    // A piece of text to draw.
    struct TextCommand {
        const wchar_t* text;
        int length;
        int x;
        int y;
        HFONT font;
        COLORREF color;
        bool opaque;
    };

    /// A device context with the current font selected, to measure in.
    HDC Measuring();
    /// Selects the font into the layout's DC unless it is there already.
    void SelectFont(HFONT font);
    void DrawCommands();
    Step PlaceRun(const wchar_t* start, int length, const wchar_t* next, bool space);
    RunFit FitRun(const wchar_t* start, int length, bool space);
    int FitCount(const wchar_t* start, int length, LONG available, LONG& width);
    LONG Extent(const wchar_t* start, int length);
    void DrawRun(const wchar_t* start, int length, bool ellipsis, LONG width);

    const THtmlLayoutRequest& m_request;
    const RECT m_rect;
    HDC m_dc;
    CPaintManagerUI* m_manager;
    const bool m_singleLine;
    const bool m_wordBreak;
    const bool m_ellipsis;
    const int m_capacity;
    int m_alignment = 0; // multi-line: 0 left, 1 centre, 2 right
    const TFontInfo* m_defaultFont;
    CSelection m_fontSelection; // gives the DC its own font back at the end
    HFONT m_currentFont;        // selected into m_dc now
    CTextAttributes m_attributes;
    CMeasuringContexts m_measuring;
    bool m_ownMeasuring = false;

    LineState m_state;
    Pass m_pass = Pass::Measure;
    LONG m_x = 0;
    LONG m_y = 0;
    LONG m_lineHeight = 0;
    LONG m_shift = 0; // drawing pass: where the aligned line starts, relative to the left
    RECT m_visible{}; // drawing: the DC's clip box
    bool m_placedImage = false;
    bool m_stop = false; // an ellipsis ended the text
    LONG m_widest = 0;
    LONG m_imageBottom = LONG_MIN;
    std::vector<PlacedImage> m_images;
    std::vector<int> m_extents; // GetTextExtentExPointW output, kept for reuse
    std::vector<RunFit> m_fits; // the runs of the line, as the measuring pass fitted them
    size_t m_nextFit = 0;
    std::vector<TextCommand> m_commands; // the line's text, drawn font by font at its end
    // The last run found by RunEnd, of each kind: [from, end).
    struct FoundRun {
        const wchar_t* from = nullptr;
        const wchar_t* end = nullptr;
    };
    FoundRun m_found[3]; // by RunKind

    // Links, recorded by the measuring passes only.
    int m_linkCount = 0;
    int m_lineFirstLink = 0;
    bool m_linkOpen = false;
    int m_openLink = -1; // entry of the open link's current part; -1 when not recorded
    CSkinString m_openTarget;
};

THtmlLayoutResult CHtmlLayout::Run() {
    ::SetBkMode(m_dc, TRANSPARENT);
    ::SetTextColor(m_dc, ToColorRef(m_request.color));
    ::SetBkColor(m_dc, ToColorRef(m_manager->GetDefaultSelectedBkColor()));
    if (!m_request.drawing) {
        LayOutLines();
    } else {
        // Text goes through GDI, which leaves holes in surfaces with alpha unless kept
        // opaque; images blend by their own alpha, so they are drawn after the text.
        RECT bounds{};
        if (::GetClipBox(m_dc, &bounds) == ERROR) bounds = m_rect;
        m_visible = bounds;
        CRenderEngine::DrawOpaque(
            m_dc, bounds, [](void* layout) { static_cast<CHtmlLayout*>(layout)->LayOutLines(); },
            this);
        for (const PlacedImage& placed : m_images)
            CRenderEngine::DrawImage(m_dc, placed.image->bitmap, placed.dest, placed.dest,
                                     placed.source, RECT{0, 0, 0, 0}, placed.image->alphaChannel);
    }
    THtmlLayoutResult result;
    result.links = m_linkCount;
    result.widest = m_widest;
    result.bottom = std::max(m_imageBottom, m_y + m_lineHeight);
    return result;
}

void CHtmlLayout::LayOutLines() {
    m_y = m_rect.top;
    m_lineHeight = LeastLineHeight();
    m_widest = m_rect.left;
    LineState lineStart;
    while (*m_state.position != L'\0') {
        if (m_request.drawing && m_y >= m_rect.bottom) break;
        lineStart = m_state;
        m_lineFirstLink = m_linkCount;
        if (m_linkOpen) StartLinkPart();

        m_pass = Pass::Measure;
        m_placedImage = false;
        m_fits.clear();
        LayOutLine();
        const LONG lineEnd = m_x;
        const LONG shift =
            m_alignment == 0
                ? 0
                : std::max<LONG>(0, (m_rect.right - lineEnd) / (m_alignment == 1 ? 2 : 1));
        FinishLineLinks(shift);
        m_widest = std::max(m_widest, lineEnd);
        if (m_placedImage) m_imageBottom = std::max(m_imageBottom, m_y + m_lineHeight);

        if (m_request.drawing && LineMayShow()) {
            // The same line again from the same state, now drawn at its measured height.
            LineState measured = std::move(m_state);
            m_state = lineStart;
            m_pass = Pass::Draw;
            m_shift = shift;
            m_nextFit = 0;
            m_commands.clear();
            LayOutLine();
            DrawCommands();
            m_state = std::move(measured);
        }

        // A line that took nothing from the text would be laid out again and again.
        if (m_state.position == lineStart.position || m_stop) break;
        if (m_singleLine || *m_state.position == L'\0') break;
        m_y = Clamp(static_cast<long long>(m_y) + m_lineHeight, LONG_MIN, kMaxCoordinate);
        m_lineHeight = LeastLineHeight();
    }
}

void CHtmlLayout::StartLinkPart() {
    // A link that runs on past the end of a line goes on as a new part.
    m_openLink = -1;
    if (m_linkCount < m_capacity) {
        m_openLink = m_linkCount++;
        m_request.targets[m_openLink] = m_openTarget;
        m_request.links[m_openLink] = RECT{m_rect.left, m_y, m_rect.left, m_y};
    }
}

void CHtmlLayout::FinishLineLinks(LONG shift) {
    if (m_linkOpen && m_openLink >= 0)
        m_request.links[m_openLink].right = std::min(m_x, m_rect.right);
    for (int i = m_lineFirstLink; i < m_linkCount; ++i) {
        RECT& link = m_request.links[i];
        link.top = m_y;
        link.bottom = m_y + m_lineHeight;
        link.left += shift;
        link.right += shift;
    }
}

Step CHtmlLayout::LayOutLine() {
    m_x = m_rect.left;
    while (true) {
        if (m_x >= m_rect.right) return Step::EndLine;
        const wchar_t* p = m_state.position;
        const wchar_t ch = *p;
        if (ch == L'\0') return Step::EndLine;
        if (ch == L'\n') {
            m_state.position = p + 1;
            return Step::EndLine;
        }
        Step step = Step::Continue;
        if (m_state.raw) {
            // Everything is text up to the closing r tag, which ends raw mode.
            Tag tag;
            if (HtmlMarkup::IsClosingTag(p, L'r') && HtmlMarkup::ReadTag(p, tag)) {
                m_state.raw = false;
                m_state.position = tag.next;
                continue;
            }
            const wchar_t* end = RunEnd(p, RunKind::Raw);
            step = PlaceRun(p, Length(p, end), end, false);
        } else if (HtmlMarkup::ReadEscape(p) != 0) {
            step = PlaceRun(p + 1, 1, p + 3, false);
        } else if (Tag tag; HtmlMarkup::ReadTag(p, tag)) {
            step = HandleTag(tag);
        } else if (ch == L' ') {
            const wchar_t* end = RunEnd(p, RunKind::Spaces);
            step = PlaceRun(p, Length(p, end), end, true);
        } else {
            // A leading bracket that starts no tag is text.
            const wchar_t* end = RunEnd(p, RunKind::Text);
            step = PlaceRun(p, Length(p, end), end, false);
        }
        if (step == Step::EndLine) return step;
    }
}

const wchar_t* CHtmlLayout::RunEnd(const wchar_t* p, RunKind kind) {
    // A run that spans many lines is placed a line at a time, each from a later point of
    // it: scanning for its end again every time would cost time in the square of its
    // length. No point inside a run ends it, so its end is found once.
    FoundRun& found = m_found[static_cast<int>(kind)];
    if (p >= found.from && p < found.end) return found.end;
    const wchar_t* end = p + 1;
    switch (kind) {
    case RunKind::Raw:
        while (*end != L'\0' && *end != L'\n' && !HtmlMarkup::IsClosingTag(end, L'r'))
            ++end;
        break;
    case RunKind::Text:
        while (*end != L'\0' && *end != L'\n' && *end != L'<' && *end != L'{')
            ++end;
        break;
    case RunKind::Spaces:
        while (*end == L' ')
            ++end;
        break;
    }
    found = FoundRun{p, end};
    return end;
}

// ---------------------------------------------------------------------------
// Tags

Step CHtmlLayout::HandleTag(const Tag& tag) {
    // Tags that end the line without being consumed are read again at the start of the
    // next one.
    switch (tag.letter) {
    case L'b':
    case L'u':
        if (tag.closing)
            PopFont();
        else
            PushFont(tag.letter == L'b' ? Variant(true, Font()->underline, Font()->italic)
                                        : Variant(Font()->bold, true, Font()->italic));
        break;
    case L'i':
        if (tag.closing) {
            PopFont();
        } else if (tag.argsLength > 0) {
            HtmlMarkup::InlineImage image;
            if (HtmlMarkup::ReadInlineImage(tag.args, tag.argsLength, image))
                return PlaceImage(tag, image);
            PushFont(Variant(Font()->bold, Font()->underline, true));
        } else {
            PushFont(Variant(Font()->bold, Font()->underline, true));
        }
        break;
    case L'f':
        if (tag.closing)
            PopFont();
        else
            PushFont(RequestedFont(HtmlMarkup::ReadFontRequest(tag.args, tag.argsLength)));
        break;
    case L'c':
        if (tag.closing) {
            m_state.colors.pop_back();
        } else {
            m_state.colors.push_back(HtmlMarkup::ReadColor(tag.args, tag.argsLength));
        }
        break;
    case L'a':
        if (tag.closing) {
            CloseLink();
            m_state.colors.pop_back();
            PopFont();
        } else {
            OpenLink(tag);
        }
        break;
    case L'p':
        if (tag.closing) {
            // The paragraph ends its line and takes its spacing away with it.
            m_state.spacings.pop_back();
            m_state.position = tag.next;
            if (!AtLineStart()) return Step::EndLine;
            if (m_pass == Pass::Measure) m_lineHeight = LeastLineHeight();
            return Step::Continue;
        }
        // A paragraph starts on a line of its own: its spacing belongs to its own lines.
        if (!AtLineStart()) return Step::EndLine;
        m_state.spacings.push_back(
            Clamp(HtmlMarkup::ReadInt(tag.args, tag.argsLength, 0), -kMaxExtent, kMaxExtent));
        RaiseLineHeight(LeastLineHeight());
        break;
    case L'n':
        if (!tag.closing && !m_singleLine) {
            m_state.position = tag.next;
            return Step::EndLine;
        }
        break;
    case L'x':
        if (!tag.closing) {
            const long long move = HtmlMarkup::ReadInt(tag.args, tag.argsLength, 0);
            m_x = Clamp(m_x + move, m_rect.left, m_rect.right);
        }
        break;
    case L'y':
        if (!tag.closing && m_pass == Pass::Measure)
            m_lineHeight = Clamp(HtmlMarkup::ReadInt(tag.args, tag.argsLength, 0), 0, kMaxExtent);
        break;
    case L's':
        m_state.selected = !m_state.selected;
        break;
    case L'r':
        if (!tag.closing) m_state.raw = true;
        break;
    default:
        break; // unknown letters are ignored
    }
    m_state.position = tag.next;
    return Step::Continue;
}

void CHtmlLayout::SelectFont(HFONT font) {
    if (font != m_currentFont) ::SelectObject(m_dc, font);
    m_currentFont = font;
}

HDC CHtmlLayout::Measuring() {
    const HFONT font = Font()->font;
    if (font != m_defaultFont->font && m_ownMeasuring) {
        if (HDC own = m_measuring.For(font)) return own;
    }
    SelectFont(font);
    return m_dc;
}

void CHtmlLayout::PushFont(const TFontInfo* font) {
    // A font that cannot be had repeats the current one, so that the closing tag still
    // finds its own entry to pop.
    m_state.fonts.push_back(font != nullptr ? font : Font());
    RaiseLineHeight(LeastLineHeight());
}

void CHtmlLayout::PopFont() {
    const TFontInfo* left = Font();
    m_state.fonts.pop_back();
    if (left->italic && !Font()->italic) {
        // Italic letters lean over their right edge: leave room before upright ones.
        ABC space{};
        if (::GetCharABCWidthsW(Measuring(), L' ', L' ', &space))
            m_x = Clamp(static_cast<long long>(m_x) + std::abs(space.abcC) / 2, m_rect.left,
                        m_rect.right);
    }
    RaiseLineHeight(LeastLineHeight());
}

const TFontInfo* CHtmlLayout::Variant(bool bold, bool underline, bool italic) {
    const TFontInfo* font = Font();
    if (font->bold == bold && font->underline == underline && font->italic == italic) return font;
    HFONT handle = m_manager->GetFont(font->faceName, font->size, bold, underline, italic);
    if (handle == nullptr)
        handle = m_manager->AddFont(font->faceName, font->size, bold, underline, italic);
    return handle != nullptr ? m_manager->GetFontInfo(handle) : nullptr;
}

const TFontInfo* CHtmlLayout::RequestedFont(const HtmlMarkup::FontRequest& request) {
    if (request.byIndex) return m_manager->GetFontInfo(request.index);
    HFONT handle = m_manager->GetFont(request.faceName, request.size, request.bold,
                                      request.underline, request.italic);
    if (handle == nullptr)
        handle = m_manager->AddFont(request.faceName, request.size, request.bold, request.underline,
                                    request.italic);
    return handle != nullptr ? m_manager->GetFontInfo(handle) : nullptr;
}

Step CHtmlLayout::PlaceImage(const Tag& tag, const HtmlMarkup::InlineImage& image) {
    const TImageInfo* info = m_manager->GetImageEx(
        image.name, image.resourceType.IsEmpty() ? nullptr : image.resourceType.GetData(), 0);
    if (info == nullptr || info->bitmap == nullptr || info->width <= 0 || info->height <= 0) {
        m_state.position = tag.next; // a missing image is skipped
        return Step::Continue;
    }
    const LONG frameWidth = info->width / image.frames;
    if (m_x + frameWidth > m_rect.right && !AtLineStart() && !m_singleLine)
        return Step::EndLine; // placed at the start of the next line
    RaiseLineHeight(info->height);
    m_placedImage = true;
    if (m_pass == Pass::Draw) {
        const LONG left = m_x + m_shift;
        const LONG bottom = m_y + m_lineHeight;
        RECT dest{left, bottom - info->height, left + frameWidth, bottom};
        if (info->height < m_lineHeight) ::OffsetRect(&dest, 0, -(m_lineHeight - info->height) / 2);
        const RECT source{image.frame * frameWidth, 0, (image.frame + 1) * frameWidth,
                          info->height};
        m_images.push_back(PlacedImage{info, dest, source});
    }
    m_x = Clamp(static_cast<long long>(m_x) + frameWidth, m_rect.left, kMaxCoordinate);
    m_state.position = tag.next;
    return Step::Continue;
}

void CHtmlLayout::OpenLink(const Tag& tag) {
    CSkinString target(tag.args, tag.argsLength);
    const bool hovered = m_request.hoveredTarget != nullptr && target == m_request.hoveredTarget;
    m_state.colors.push_back(hovered ? m_manager->GetDefaultLinkHoverFontColor()
                                     : m_manager->GetDefaultLinkFontColor());
    PushFont(Variant(Font()->bold, true, Font()->italic));
    if (m_pass != Pass::Measure) return;
    CloseLink(); // a link opened inside another ends the outer one here
    m_linkOpen = true;
    m_openTarget = target;
    m_openLink = -1;
    if (m_linkCount < m_capacity) {
        m_openLink = m_linkCount++;
        m_request.targets[m_openLink] = target;
        m_request.links[m_openLink] = RECT{m_x, m_y, m_x, m_y};
    }
}

void CHtmlLayout::CloseLink() {
    if (m_pass != Pass::Measure || !m_linkOpen) return;
    if (m_openLink >= 0) m_request.links[m_openLink].right = std::min(m_x, m_rect.right);
    m_linkOpen = false;
    m_openLink = -1;
}

// ---------------------------------------------------------------------------
// Text runs

LONG CHtmlLayout::Extent(const wchar_t* start, int length) {
    SIZE size{0, 0};
    ::GetTextExtentPoint32W(Measuring(), start, length, &size);
    return size.cx;
}

// How many characters of the run fit into `available` pixels (all of them when the run
// fits), with the width of those characters.
int CHtmlLayout::FitCount(const wchar_t* start, int length, LONG available, LONG& width) {
    const TEXTMETRICW& metrics = Font()->metrics;
    // Cheap estimate first: most runs are far shorter than the line.
    if (static_cast<long long>(length) * std::max<LONG>(metrics.tmMaxCharWidth, 1) < available) {
        width = Extent(start, length);
        if (width <= available) return length;
    }
    // Measure a window of the run that surely holds the line's end, widened while all of
    // it fits: a long run is not measured to its end for every line it spans.
    const long long average = std::max<LONG>(metrics.tmAveCharWidth, 1);
    long long window = std::min<long long>(length, available / average * 2 + 16);
    while (true) {
        const int count = static_cast<int>(window);
        if (m_extents.size() < static_cast<size_t>(count)) m_extents.resize(count);
        int fit = 0;
        SIZE size{0, 0};
        if (!::GetTextExtentExPointW(Measuring(), start, count, available, &fit, m_extents.data(),
                                     &size))
            fit = 0;
        fit = std::max(0, std::min(fit, count));
        if (fit < count || count == length) {
            width = fit > 0 ? m_extents[fit - 1] : 0;
            if (fit == length) width = std::max<LONG>(width, size.cx);
            return fit;
        }
        window = std::min<long long>(length, window * 2);
    }
}

Step CHtmlLayout::PlaceRun(const wchar_t* start, int length, const wchar_t* next, bool space) {
    // The drawing pass takes the same decisions as the measuring pass: it reuses them.
    RunFit fit;
    if (m_pass == Pass::Draw && m_nextFit < m_fits.size()) {
        fit = m_fits[m_nextFit++];
    } else {
        fit = FitRun(start, length, space);
        if (m_pass == Pass::Measure) m_fits.push_back(fit);
    }
    if (fit.ellipsis) m_stop = true;
    if (m_pass == Pass::Draw && (fit.cut > 0 || fit.ellipsis))
        DrawRun(start, fit.cut, fit.ellipsis, fit.width);
    m_x = fit.ellipsis ? m_rect.right : m_x + fit.width;
    if (fit.consumed > 0) m_state.position = fit.consumed >= length ? next : start + fit.consumed;
    return fit.overflow ? Step::EndLine : Step::Continue;
}

CHtmlLayout::RunFit CHtmlLayout::FitRun(const wchar_t* start, int length, bool space) {
    const LONG available = m_rect.right - m_x;
    RunFit result;
    const int fit = FitCount(start, length, available, result.width);
    int cut = fit;
    result.overflow = cut < length;
    if (!result.overflow) {
        result.cut = result.consumed = length;
        return result;
    }
    if (space && fit > 0) {
        // Spaces are placed as if one by one: those that fit go on the line, and the first
        // that does not is decided on its own, from where they end.
        result.cut = result.consumed = fit;
        result.overflow = false;
        return result;
    }
    // The last line shows an ellipsis where the text is cut; the lines above it wrap.
    const bool lastLine = m_singleLine || (m_request.drawing &&
                                           m_y + m_lineHeight + LeastLineHeight() > m_rect.bottom);
    result.ellipsis = m_ellipsis && lastLine;
    if (space && !result.ellipsis) {
        // A space that does not fit ends the line and is not carried to the next; the spaces
        // after it start the next line.
        result.width = 0;
        result.consumed = 1;
        return result;
    }
    bool swallowSpace = false;
    if (result.ellipsis) {
        const LONG dots = Extent(L"...", 3);
        while (cut > 0 && m_extents[cut - 1] + dots > available)
            --cut;
    } else if (m_wordBreak && !m_state.raw && start[cut] == L' ') {
        // The line breaks at the space after the last word that fits; the space goes.
        swallowSpace = cut > 0;
    } else if (m_wordBreak) {
        int breakAt = cut;
        while (breakAt > 0 && !HtmlMarkup::IsBreakAfter(start[breakAt - 1]))
            --breakAt;
        // A word that does not fit after other text moves to the next line whole.
        if (breakAt > 0 || !AtLineStart()) cut = breakAt;
    }
    // Each line takes at least one character (never less, whatever the ellipsis needs),
    // a surrogate pair whole.
    if (cut == 0 && AtLineStart()) cut = 1;
    if (cut > 0 && cut < length && IS_HIGH_SURROGATE(start[cut - 1]) &&
        IS_LOW_SURROGATE(start[cut]))
        cut = cut > 1 ? cut - 1 : 2;
    result.cut = cut;
    result.consumed = swallowSpace ? cut + 1 : cut;
    result.width = cut == 0 ? 0 : cut <= fit ? m_extents[cut - 1] : Extent(start, cut);
    return result;
}

void CHtmlLayout::DrawRun(const wchar_t* start, int length, bool ellipsis, LONG width) {
    const TEXTMETRICW& metrics = Font()->metrics;
    const int x = m_x + m_shift;
    const int y = m_y + m_lineHeight - metrics.tmHeight - metrics.tmExternalLeading;
    const TextCommand command{start,           length, x, y, Font()->font, ToColorRef(Color()),
                              m_state.selected};
    if (length > 0) m_commands.push_back(command);
    if (ellipsis) {
        m_commands.push_back(command);
        m_commands.back().text = L"...";
        m_commands.back().length = 3;
        m_commands.back().x = x + width;
    }
}

void CHtmlLayout::DrawCommands() {
    // Font by font, the default one last so that it stays selected for measuring: pieces
    // of a line never overlap, and every font switch is costly.
    std::vector<HFONT> fonts;
    for (const TextCommand& command : m_commands)
        if (command.font != m_defaultFont->font &&
            std::find(fonts.begin(), fonts.end(), command.font) == fonts.end())
            fonts.push_back(command.font);
    fonts.push_back(m_defaultFont->font);
    for (const HFONT font : fonts) {
        SelectFont(font);
        for (const TextCommand& command : m_commands) {
            if (command.font != font) continue;
            ::SetTextColor(m_dc, command.color);
            ::SetBkMode(m_dc, command.opaque ? OPAQUE : TRANSPARENT);
            ::TextOutW(m_dc, command.x, command.y, command.text, command.length);
        }
    }
}

} // namespace

THtmlLayoutResult LayOutHtmlText(const THtmlLayoutRequest& request) {
    CHtmlLayout layout(request);
    return layout.Run();
}

} // namespace SkinUI
