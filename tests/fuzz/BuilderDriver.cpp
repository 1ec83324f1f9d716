// The dialog builder: a window's controls built from the input, laid out and painted into
// a memory surface. Images, included documents and child layouts are resolved from a
// small archive in memory made of the corpus's own images and skins, so image strings
// reach the decoders and attribute values reach every control.

#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzEngine.h"
#include "control/ControlUI.h"
#include "control/LabelUI.h"
#include "core/DialogBuilder.h"
#include "core/Handles.h"
#include "core/StdPtrArray.h"
#include "render/RenderEngine.h"
#include "window/PaintManagerUI.h"
#include "window/WindowWnd.h"

namespace {

using SkinUI::CControlUI;
using SkinUI::CPaintManagerUI;

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// A plain window whose manager sees every message, as a skinned window's does.
class CHostWindow : public SkinUI::CWindowWnd {
public:
    CPaintManagerUI manager;

protected:
    const wchar_t* GetWndClassName() const override { return L"SkinFuzzHost"; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CREATE) manager.Init(GetHWND());
        LRESULT result = 0;
        if (manager.MessageHandler(message, wParam, lParam, result)) return result;
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    }
};

CHostWindow* g_window = nullptr;
SkinUI::TFontInfo g_defaultFont; // as the manager starts, given back after every input
SkinUI::CBitmapDC g_surface;
std::vector<std::uint8_t> g_archive;

void ReportUnpainted();

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

bool ReadFile(const std::wstring& path, std::vector<std::uint8_t>& bytes) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const DWORD size = ::GetFileSize(file, nullptr);
    bytes.resize(size);
    DWORD read = 0;
    const bool done = size != INVALID_FILE_SIZE &&
                      (size == 0 || ::ReadFile(file, bytes.data(), size, &read, nullptr)) &&
                      read == size;
    ::CloseHandle(file);
    return done;
}

void SetUp() {
    ::OleInitialize(nullptr);
    SkinUI::SKIN__SetTraceHandler([](const wchar_t*) {});
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    // The skin archive the build packs beside the driver.
    if (ReadFile(fuzz::ExecutableDirectory() + L"builder-skin.zip", g_archive))
        CPaintManagerUI::SetResourceZip(g_archive.data(),
                                        static_cast<unsigned int>(g_archive.size()));
    g_window = new CHostWindow;
    g_window->Create(nullptr, L"fuzz", WS_POPUP, 0, 0, 0, kWidth, kHeight);
    g_window->manager.AttachDialog(new CControlUI);
    g_defaultFont = *g_window->manager.GetDefaultFontInfo();
    g_defaultFont.font = nullptr;
    std::atexit(&ReportUnpainted);

    void* bits = nullptr;
    g_surface.Create(nullptr, SkinUI::CRenderEngine::CreateDib32(nullptr, kWidth, kHeight, &bits));
}

// Inputs that the platform itself takes longer than the budget over are built but not
// shown (attached, laid out and painted). The limits count all the controls of a kind
// together.
//
// Rich edits: the platform's text services (Wine's, where the drivers run) take about
// 100 microseconds for each line they wrap, and narrow edits wrap a character a line: 74
// rich edits side by side, 4 pixels wide, holding 3,727 characters between them, took
// 280 ms; 257 of them holding 24,000 took 410 ms, under 1% of it in the framework's own
// code. A long paragraph also takes them time that grows faster than its length (15,000
// characters wrapped in 300 pixels take seconds).
constexpr int kMaxRichEditText = 1000;
// Rich edits themselves: each makes text services of its own as it is attached, and Wine's
// take about 45 microseconds to make, be given their text and be activated. 8,374 of them
// took 400 ms in a probe that made nothing else, and 480 ms as rich edits.
constexpr int kMaxRichEdits = 1000;
// Wrapped plain text (the text control without HTML): the platform's DrawTextW alone takes
// 280 ms to measure and 100 ms to draw 150,000 characters in 300 pixels, and 990 and
// 190 ms for twice as many.
constexpr int kMaxWrappedText = 40000;
unsigned long long g_unpainted = 0;

struct TKindCount {
    int controls = 0;
    long long text = 0; ///< characters
};

TKindCount CountKind(CControlUI* root, const wchar_t* className, bool (*counts)(CControlUI*)) {
    SkinUI::CStdPtrArray* found = g_window->manager.FindSubControlsByClass(root, className);
    TKindCount total;
    for (int i = 0; found != nullptr && i < found->GetSize(); ++i) {
        CControlUI* control = static_cast<CControlUI*>(found->GetAt(i));
        if (!counts(control)) continue;
        ++total.controls;
        total.text += control->GetText().GetLength();
    }
    return total;
}

bool HasPlatformBoundContent(CControlUI* root) {
    const auto every = [](CControlUI*) { return true; };
    const auto plain = [](CControlUI* control) {
        return !static_cast<SkinUI::CLabelUI*>(control)->IsShowHtml();
    };
    const TKindCount richEdits = CountKind(root, L"RichEditUI", every);
    return richEdits.controls > kMaxRichEdits || richEdits.text > kMaxRichEditText ||
           CountKind(root, L"TextUI", plain).text > kMaxWrappedText;
}

void ReportUnpainted() {
    if (g_unpainted > 0)
        std::printf("builder: %llu inputs not shown for over %d rich edits, rich edit text over "
                    "%d characters or wrapped plain text over %d in all\n",
                    g_unpainted, kMaxRichEdits, kMaxRichEditText, kMaxWrappedText);
}

void Run(const std::uint8_t* data, std::size_t size) {
    CPaintManagerUI& manager = g_window->manager;
    {
        SkinUI::CDialogBuilder builder;
        CControlUI* root = nullptr;
        if (builder.GetMarkup()->LoadFromMem(data, static_cast<unsigned long>(size),
                                             SkinUI::MARKUP_ENCODING_UTF8))
            root = builder.Create(nullptr, &manager);
        if (root != nullptr && HasPlatformBoundContent(root)) {
            ++g_unpainted;
            delete root;
        } else if (root != nullptr && manager.AttachDialog(root)) {
            RECT client{};
            ::GetClientRect(g_window->GetHWND(), &client);
            root->SetPos(client);
            ::SendMessageW(g_window->GetHWND(), WM_PRINTCLIENT,
                           reinterpret_cast<WPARAM>(g_surface.GetDC()), PRF_CLIENT);
            ::SendMessageW(g_window->GetHWND(), WM_MOUSEMOVE, 0,
                           MAKELPARAM(kWidth / 2, kHeight / 2));
            ::GdiFlush();
        } else {
            delete root;
        }
    }
    // What the skin left in the manager goes, so that inputs do not pile up.
    manager.AttachDialog(new CControlUI);
    Pump();
    manager.RemoveAllImages();
    manager.RemoveAllFonts();
    manager.RemoveAllDefaultAttributeList();
    manager.RemoveAllOptionGroups();
    manager.RemoveAllTimers();
    // What a skin sets on its window outlives it; the next input starts afresh.
    manager.SetBackgroundTransparent(false);
    manager.SetTransparent(255);
    manager.SetDefaultFont(g_defaultFont.faceName, g_defaultFont.size, g_defaultFont.bold,
                           g_defaultFont.underline, g_defaultFont.italic);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    fuzz::Target target;
    target.name = "builder";
    target.extensions = {".xml"};
    target.tokens = {"<VerticalLayout>",
                     "</VerticalLayout>",
                     "<HorizontalLayout>",
                     "<TileLayout columns=\"3\">",
                     "<TabLayout selectedid=\"1\">",
                     "<List>",
                     "<ListHeader>",
                     "<ListHeaderItem text=\"h\"/>",
                     "<ListTextElement text=\"a\"/>",
                     "<TreeView>",
                     "<TreeNode text=\"n\">",
                     "</TreeNode>",
                     "<RichEdit text=\"r\" multiline=\"true\"/>",
                     "<Edit text=\"e\"/>",
                     "<Combo>",
                     "<Option group=\"g\"/>",
                     "<Slider/>",
                     "<Progress/>",
                     "<Text showhtml=\"true\" text=\"",
                     "<Label/>",
                     "<Button/>",
                     "<Include source=\"",
                     "<ChildLayout xmlfile=\"",
                     "<Image name=\"",
                     "<Font name=\"a\" size=\"",
                     "<Default name=\"Button\" value=\"",
                     " bkimage=\"",
                     " normalimage=\"",
                     " image=\"file='",
                     " dest='",
                     " source='",
                     " corner='",
                     " xtiled='true'",
                     " width=\"",
                     " height=\"",
                     " pos=\"",
                     " float=\"true\"",
                     " padding=\"",
                     " inset=\"",
                     " childpadding=\"",
                     " text=\"",
                     " showhtml=\"true\"",
                     " font=\"",
                     " textcolor=\"#",
                     " bkcolor=\"#",
                     " vscrollbar=\"true\"",
                     " hscrollbar=\"true\"",
                     " count=\"",
                     " visible=\"false\"",
                     " maxlen=\"",
                     " min=\"",
                     " max=\"",
                     " value=\"",
                     " size=\"",
                     " caption=\"",
                     " sizebox=\"",
                     " roundcorner=\"",
                     " shadow=\"true\"",
                     " bktrans=\"true\"",
                     " alpha=\"",
                     "{b}",
                     "{i}",
                     "{c #FF0000}",
                     "{a x}",
                     "{f 1}",
                     "{img i}",
                     "{n}",
                     "{p}",
                     "{s}",
                     "{u}",
                     "{x 9999}",
                     "{y 9999}",
                     "{/b}",
                     "{/a}",
                     "<b>",
                     "</b>",
                     "<a>",
                     "<n>"};
    target.setUp = &SetUp;
    target.run = &Run;
    return fuzz::Main(target, argc, argv);
}
