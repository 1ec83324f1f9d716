// The document half of the skin XML reference against the builder: the attributes of
// `Window`, `Font`, `Image`, `Default` and `Include` are read without the "unknown
// attribute" trace, other names are traced, and the window settings, fonts and default
// lists read back from the paint manager as the reference says.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>

#include "control/ControlUI.h"
#include "core/DialogBuilder.h"
#include "reference/ReadBack.h"
#include "reference/SkinReference.h"
#include "support/BoundedCost.h"
#include "window/PaintManagerUI.h"

using namespace SkinUI;
using namespace skinref;

namespace {

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t ch : text)
        narrow += ch < 128 ? static_cast<char>(ch) : '?';
    return narrow;
}

const wchar_t* const kDocumentElements[] = {L"Window", L"Font", L"Image", L"Default", L"Include"};

// A paint manager of a window of its own, for one build.
class WindowManager {
public:
    WindowManager() {
        m_window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
        manager.Init(m_window);
    }
    ~WindowManager() { ::DestroyWindow(m_window); }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    /// Builds a document with one element carrying `attribute`, plus what the element
    /// needs to have any effect (a font and a default list need a name).
    void Build(const std::wstring& element, const std::wstring& attribute,
               const std::wstring& value) {
        const std::wstring pair = attribute + L"=\"" + XmlAttribute(value) + L"\"";
        std::wstring xml;
        if (element == L"Window") {
            xml = L"<Window " + pair + L"/>";
        } else {
            std::wstring companion;
            if (element == L"Font" && attribute != L"name") companion = L" name=\"Tahoma\"";
            if (element == L"Default" && attribute != L"name") companion = L" name=\"Button\"";
            xml = L"<Window><" + element + companion + L" " + pair + L"/></Window>";
        }
        CDialogBuilder builder;
        std::unique_ptr<CControlUI> root(builder.Create(xml.c_str(), nullptr, nullptr, &manager));
    }

    CPaintManagerUI manager;

private:
    HWND m_window = nullptr;
};

using ReadBack = std::function<std::wstring(CPaintManagerUI&)>;

const TFontInfo& LastFont(CPaintManagerUI& m) {
    return *m.GetFontInfo(m.GetCustomFontCount() - 1);
}

const std::map<std::wstring, ReadBack>& ReadBacks() {
    static const std::map<std::wstring, ReadBack> table = {
        {L"Window.size", [](CPaintManagerUI& m) { return Size(m.GetInitSize()); }},
        {L"Window.sizebox", [](CPaintManagerUI& m) { return Rect(m.GetSizeBox()); }},
        {L"Window.caption", [](CPaintManagerUI& m) { return Rect(m.GetCaptionRect()); }},
        {L"Window.roundcorner", [](CPaintManagerUI& m) { return Size(m.GetRoundCorner()); }},
        {L"Window.mininfo", [](CPaintManagerUI& m) { return Size(m.GetMinInfo()); }},
        {L"Window.maxinfo", [](CPaintManagerUI& m) { return Size(m.GetMaxInfo()); }},
        {L"Window.showdirty", [](CPaintManagerUI& m) { return Bool(m.IsShowUpdateRect()); }},
        {L"Window.alpha", [](CPaintManagerUI& m) { return Int(m.GetTransparent()); }},
        {L"Window.bktrans", [](CPaintManagerUI& m) { return Bool(m.IsAlphaBackground()); }},
        {L"Window.shadow", [](CPaintManagerUI& m) { return Bool(m.HasWindowShadow()); }},
        {L"Window.shadowimage",
         [](CPaintManagerUI& m) { return std::wstring(m.GetWindowShadowImage()); }},
        {L"Window.disabledfontcolor",
         [](CPaintManagerUI& m) { return Color(m.GetDefaultDisabledColor()); }},
        {L"Window.defaultfontcolor",
         [](CPaintManagerUI& m) { return Color(m.GetDefaultFontColor()); }},
        {L"Window.linkfontcolor",
         [](CPaintManagerUI& m) { return Color(m.GetDefaultLinkFontColor()); }},
        {L"Window.linkhoverfontcolor",
         [](CPaintManagerUI& m) { return Color(m.GetDefaultLinkHoverFontColor()); }},
        {L"Window.selectedcolor",
         [](CPaintManagerUI& m) { return Color(m.GetDefaultSelectedBkColor()); }},
        {L"Font.name", [](CPaintManagerUI& m) { return std::wstring(LastFont(m).faceName); }},
        {L"Font.size", [](CPaintManagerUI& m) { return Int(LastFont(m).size); }},
        {L"Font.bold", [](CPaintManagerUI& m) { return Bool(LastFont(m).bold); }},
        {L"Font.underline", [](CPaintManagerUI& m) { return Bool(LastFont(m).underline); }},
        {L"Font.italic", [](CPaintManagerUI& m) { return Bool(LastFont(m).italic); }},
        {L"Default.value",
         [](CPaintManagerUI& m) {
             const wchar_t* list = m.GetDefaultAttributeList(L"Button");
             return std::wstring(list != nullptr ? list : L"");
         }},
    };
    return table;
}

class DocumentReference : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TheReference().error.empty()) << Narrow(TheReference().error);
        for (const wchar_t* element : kDocumentElements)
            ASSERT_NE(TheReference().Find(element), nullptr) << Narrow(element);
    }
};

TEST_F(DocumentReference, ListedAttributesAreReadAndOthersTraced) {
    for (const wchar_t* element : kDocumentElements) {
        const Section& section = *TheReference().Find(element);
        EXPECT_FALSE(section.rows.empty()) << Narrow(element);
        for (const AttributeRow& row : section.rows) {
            SCOPED_TRACE(Narrow(section.name + L"." + row.name + L"=" + row.example));
            EXPECT_FALSE(row.example.empty()) << "no example";
            WindowManager window;
            skintest::TraceLines traces;
            window.Build(element, row.name, row.example);
            EXPECT_EQ(traces.Count(L"unknown attribute"), 0);
        }
        // A name that none of them reads, not even another resource element's.
        for (const wchar_t* stranger :
             {L"colour", element == std::wstring(L"Font") ? L"mask" : L"bold"}) {
            WindowManager window;
            skintest::TraceLines traces;
            window.Build(element, stranger, L"1");
            EXPECT_EQ(traces.Count((L"unknown attribute \"" + std::wstring(stranger) + L"\" on <" +
                                    element + L">")
                                       .c_str()),
                      1)
                << Narrow(element) << " " << Narrow(stranger);
        }
    }
}

TEST_F(DocumentReference, SettingsFontsAndDefaultsReadBack) {
    int checked = 0;
    for (const wchar_t* element : kDocumentElements) {
        for (const AttributeRow& row : TheReference().Find(element)->rows) {
            const auto read = ReadBacks().find(std::wstring(element) + L"." + row.name);
            if (read == ReadBacks().end()) continue;
            SCOPED_TRACE(Narrow(std::wstring(element) + L"." + row.name));
            if (row.hasDefault) {
                WindowManager fresh;
                // A font's defaults are those of a font given only its name.
                if (std::wstring(element) == L"Font") fresh.Build(L"Font", L"name", L"Tahoma");
                EXPECT_EQ(Narrow(read->second(fresh.manager)), Narrow(row.defaultValue));
            }
            WindowManager window;
            window.Build(element, row.name, row.example);
            EXPECT_EQ(Narrow(read->second(window.manager)), Narrow(row.example));
            ++checked;
        }
    }
    EXPECT_EQ(checked, static_cast<int>(ReadBacks().size()));
}

TEST_F(DocumentReference, WindowSettingsNeedAWindowRoot) {
    // Settings belong to a `Window` root in an existing window; elsewhere they are neither
    // applied nor traced.
    WindowManager window;
    skintest::TraceLines traces;
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> root(
        builder.Create(L"<Dialog size=\"50,60\" colour=\"1\"><Control/></Dialog>", nullptr, nullptr,
                       &window.manager));
    EXPECT_NE(root, nullptr);
    EXPECT_EQ(window.manager.GetInitSize().cx, 0);
    EXPECT_EQ(traces.Count(L"unknown attribute"), 0);
}

} // namespace
