// Every control the builder knows, in a skinned window that is created, shown, painted,
// driven and destroyed over and over: nothing may stay behind. New controls join by
// being known to the builder.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "LeakCycles.h"
#include "LeakWindows.h"
#include "core/DialogBuilder.h"

using namespace leaktest;
using SkinUI::CDialogBuilder;

namespace {

constexpr wchar_t kBrowserClass[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";
constexpr wchar_t kImage[] = L"bkimage=\"file='button.png' source='0,0,24,30' corner='5,5,5,5'\"";

std::wstring Rows(const wchar_t* element, int count) {
    std::wstring rows;
    for (int i = 0; i < count; ++i)
        rows += L"<" + std::wstring(element) + L" text=\"row " + std::to_wstring(i) +
                L"\" height=\"22\"/>";
    return rows;
}

// The element named `probe`, with what it needs around and inside it to do its work.
std::wstring ProbeMarkup(const std::wstring& name) {
    const std::wstring common = L" name=\"probe\" text=\"probe\" tooltip=\"tip\" bordersize=\"1\" "
                                L"bordercolor=\"#FF808080\" ";
    const std::wstring header = L"<ListHeader height=\"24\"><ListHeaderItem text=\"one\" "
                                L"width=\"120\" sepwidth=\"4\"/><ListHeaderItem text=\"two\" "
                                L"width=\"120\"/></ListHeader>";
    if (name == L"Combo" || name == L"ComboBox")
        return L"<" + name + common +
               L"height=\"26\" arrowimage=\"file='arrow.png' source='0,0,110,24'\">" +
               Rows(L"ListLabelElement", 6) + L"</" + name + L">";
    if (name == L"List")
        return L"<List" + common + L"vscrollbar=\"true\" hscrollbar=\"true\">" + header +
               Rows(L"ListLabelElement", 12) + L"</List>";
    if (name == L"ListHeader")
        return L"<List><ListHeader name=\"probe\" height=\"24\"><ListHeaderItem text=\"one\" "
               L"width=\"120\" sepwidth=\"4\"/></ListHeader>" +
               Rows(L"ListLabelElement", 3) + L"</List>";
    if (name == L"ListHeaderItem")
        return L"<List><ListHeader height=\"24\"><ListHeaderItem name=\"probe\" text=\"one\" "
               L"width=\"120\" sepwidth=\"4\" dragable=\"true\"/></ListHeader>" +
               Rows(L"ListLabelElement", 3) + L"</List>";
    if (name.compare(0, 4, L"List") == 0)
        return L"<List>" + header + L"<" + name + common +
               L"height=\"40\"><Label text=\"inside\"/></" + name + L">" +
               Rows(L"ListLabelElement", 3) + L"</List>";
    if (name == L"TreeView")
        return L"<TreeView" + common +
               L"vscrollbar=\"true\"><TreeNode text=\"a\" height=\"22\"><TreeNode text=\"b\" "
               L"height=\"22\"/><TreeNode text=\"c\" height=\"22\"/></TreeNode><TreeNode "
               L"text=\"d\" "
               L"height=\"22\"/></TreeView>";
    if (name == L"TreeNode")
        return L"<TreeView><TreeNode" + common +
               L"height=\"22\"><TreeNode text=\"child\" height=\"22\"/></TreeNode><TreeNode "
               L"text=\"next\" height=\"22\"/></TreeView>";
    if (name == L"ActiveX" || name == L"WebBrowser")
        return L"<" + name + common + L"clsid=\"" + kBrowserClass +
               L"\" homepage=\"http://www.varnel.example/Client/login\" autonavi=\"true\" "
               L"delaycreate=\"false\" height=\"120\"/>";
    if (name == L"ChildLayout")
        return L"<ChildLayout name=\"probe\" xmlfile=\"child.xml\" height=\"80\"/>";
    if (name == L"ScrollBar")
        return L"<ScrollBar name=\"probe\" hor=\"true\" range=\"100\" value=\"30\" height=\"16\"/>";
    if (name == L"Slider" || name == L"Progress")
        return L"<" + name + common + L"min=\"0\" max=\"100\" value=\"40\" height=\"20\" " +
               L"foreimage=\"file='progress.png'\"/>";
    if (name == L"RichEdit")
        return L"<RichEdit" + common +
               L"multiline=\"true\" vscrollbar=\"true\" wantreturn=\"true\" "
               L"height=\"80\"/>";
    if (name == L"Text")
        return L"<Text" + common +
               L"showhtml=\"true\" text=\"a {a link}link{/a} and {b}bold{/b}\" "
               L"height=\"40\"/>";
    if (name == L"Option")
        return L"<Option" + common +
               L"group=\"g\" height=\"24\"/><Option text=\"other\" "
               L"group=\"g\" selected=\"true\" height=\"24\"/>";
    // Containers get children to lay out and scroll.
    if (name == L"Container" || name == L"VerticalLayout" || name == L"HorizontalLayout" ||
        name == L"TileLayout" || name == L"TabLayout")
        return L"<" + name + common + L"height=\"100\" vscrollbar=\"true\">" + Rows(L"Button", 8) +
               L"</" + name + L">";
    return L"<" + name + common + L"height=\"60\" " + kImage + L"/>";
}

std::wstring SkinFor(const std::wstring& name) {
    return L"<?xml version=\"1.0\" encoding=\"utf-8\"?><Window size=\"360,260\">"
           L"<VerticalLayout bkcolor=\"#FFF0F0F0\"><Button name=\"first\" height=\"24\" "
           L"text=\"first\"/>" +
           ProbeMarkup(name) + L"</VerticalLayout></Window>";
}

std::vector<std::wstring> BuilderElements() {
    std::vector<std::wstring> names;
    for (int i = 0; CDialogBuilder::GetControlElementName(i) != nullptr; ++i)
        names.push_back(CDialogBuilder::GetControlElementName(i));
    return names;
}

class ControlCycles : public ::testing::TestWithParam<std::wstring> {};

TEST_P(ControlCycles, ReturnToTheBaseline) {
    const std::wstring skin = SkinFor(GetParam());
    int probed = 0;
    const CycleResult result = RunCycles(std::string(GetParam().begin(), GetParam().end()), [&] {
        LeakWindow window(skin);
        const HWND hwnd = window.Open();
        if (hwnd == nullptr) return;
        SkinUI::CControlUI* probe = window.Find(L"probe");
        probed += probe != nullptr && probe->GetWidth() > 0 ? 1 : 0;
        DriveAt(hwnd, CentreOf(probe));
        Destroy(hwnd);
    });
    EXPECT_EQ(probed, kWarmUpCycles + result.cycles) << "the control was laid out in every cycle";
    ExpectNoGrowth(result);
}

INSTANTIATE_TEST_SUITE_P(EveryBuilderElement, ControlCycles, ::testing::ValuesIn(BuilderElements()),
                         [](const ::testing::TestParamInfo<std::wstring>& info) {
                             return std::string(info.param.begin(), info.param.end());
                         });

} // namespace
