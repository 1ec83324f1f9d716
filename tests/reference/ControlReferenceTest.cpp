// The control half of the skin XML reference against the code: every element it names
// builds the class it names and the builder maps no element it leaves out; every attribute
// it lists for a class (or the classes that class inherits from) is taken without the
// "unknown attribute" trace; its examples and defaults read back where a control reports
// them; and its XML examples build without a trace.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "activex/ActiveXUI.h"
#include "activex/WebBrowser2UI.h"
#include "activex/WebBrowserUI.h"
#include "control/ButtonUI.h"
#include "control/ChildLayoutUI.h"
#include "control/ComboBoxUI.h"
#include "control/ComboUI.h"
#include "control/ContainerUI.h"
#include "control/EditUI.h"
#include "control/HorizontalLayoutUI.h"
#include "control/LabelUI.h"
#include "control/ListHeaderItemUI.h"
#include "control/ListHeaderUI.h"
#include "control/ListUI.h"
#include "control/OptionUI.h"
#include "control/ProgressUI.h"
#include "control/RichEditUI.h"
#include "control/ScrollBarUI.h"
#include "control/SliderUI.h"
#include "control/TileLayoutUI.h"
#include "control/TreeNodeUI.h"
#include "control/TreeViewUI.h"
#include "control/VerticalLayoutUI.h"
#include "core/DialogBuilder.h"
#include "reference/ReadBack.h"
#include "reference/SkinReference.h"
#include "support/BoundedCost.h"
#include "window/PaintManagerUI.h"

using namespace SkinUI;
using namespace skinref;

namespace {

constexpr const wchar_t* kUnknownAttribute = L"unknown attribute";

// A control of one section, built by the builder from its element, and whatever owns it.
struct Built {
    std::unique_ptr<CControlUI> owner;
    CControlUI* control = nullptr;
};

const ElementRow* RowOf(const std::wstring& element) {
    for (const ElementRow& row : TheReference().elements)
        if (row.element == element) return &row;
    return nullptr;
}

// Builds the element alone in a window document; an element that cannot stand there is
// built inside the element its row places it in, and taken from there.
Built BuildElement(const std::wstring& element) {
    Built built;
    CDialogBuilder builder;
    const std::wstring alone = L"<Window><" + element + L"/></Window>";
    built.owner.reset(builder.Create(alone.c_str()));
    built.control = built.owner.get();
    const ElementRow* row = RowOf(element);
    if (built.control != nullptr || row == nullptr || row->parent.empty()) return built;
    CDialogBuilder inside;
    const std::wstring nested =
        L"<Window><" + row->parent + L"><" + element + L"/></" + row->parent + L"></Window>";
    built.owner.reset(inside.Create(nested.c_str()));
    if (built.owner == nullptr) return built;
    auto* items = static_cast<IContainerUI*>(built.owner->GetInterface(L"IContainer"));
    if (items != nullptr && items->GetCount() > 0) built.control = items->GetItemAt(0);
    return built;
}

std::wstring WithoutPrefix(const std::wstring& className) {
    return className.size() > 1 && className[0] == L'C' ? className.substr(1) : className;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (const wchar_t ch : text)
        narrow += ch < 128 ? static_cast<char>(ch) : '?';
    return narrow;
}

// What a control reports for one attribute, in the reference's syntax. An empty function
// means the attribute cannot be read back (the class handles the name in a way that no
// getter shows), and keeps a base class's getter from being used instead.
using ReadBack = std::function<std::wstring(CControlUI*)>;

template <class T> T* As(CControlUI* control) {
    return static_cast<T*>(control);
}

std::wstring FloatPos(CControlUI* c) {
    const SIZE xy = c->GetFixedXY();
    return Rect(RECT{xy.cx, xy.cy, xy.cx + c->GetFixedWidth(), xy.cy + c->GetFixedHeight()});
}

std::wstring ListInfoOf(CControlUI* c, const std::function<std::wstring(const TListInfoUI&)>& f) {
    return f(*As<CComboUI>(c)->GetListInfo());
}

// Keyed by section and attribute; a row of a section without an entry uses the entry of
// the nearest section it inherits from.
const std::map<std::wstring, ReadBack>& ReadBacks() {
    static const std::map<std::wstring, ReadBack> table = {
        // Control
        {L"Control.name", [](CControlUI* c) { return std::wstring(c->GetName()); }},
        {L"Control.text", [](CControlUI* c) { return std::wstring(c->GetText()); }},
        {L"Control.tooltip", [](CControlUI* c) { return std::wstring(c->GetToolTip()); }},
        {L"Control.userdata", [](CControlUI* c) { return std::wstring(c->GetUserData()); }},
        {L"Control.virtualwnd", [](CControlUI* c) { return std::wstring(c->GetVirtualWnd()); }},
        {L"Control.pos", FloatPos},
        {L"Control.relativepos",
         [](CControlUI* c) {
             const TRelativePosUI pos = c->GetRelativePos();
             return Rect(RECT{pos.moveXPercent, pos.moveYPercent, pos.zoomXPercent,
                              pos.zoomYPercent});
         }},
        {L"Control.float", [](CControlUI* c) { return Bool(c->IsFloat()); }},
        {L"Control.padding", [](CControlUI* c) { return Rect(c->GetPadding()); }},
        {L"Control.width", [](CControlUI* c) { return Int(c->GetFixedWidth()); }},
        {L"Control.height", [](CControlUI* c) { return Int(c->GetFixedHeight()); }},
        {L"Control.minwidth", [](CControlUI* c) { return Int(c->GetMinWidth()); }},
        {L"Control.minheight", [](CControlUI* c) { return Int(c->GetMinHeight()); }},
        {L"Control.maxwidth", [](CControlUI* c) { return Int(c->GetMaxWidth()); }},
        {L"Control.maxheight", [](CControlUI* c) { return Int(c->GetMaxHeight()); }},
        {L"Control.bkcolor", [](CControlUI* c) { return Color(c->GetBkColor()); }},
        {L"Control.bkcolor1", [](CControlUI* c) { return Color(c->GetBkColor()); }},
        {L"Control.bkcolor2", [](CControlUI* c) { return Color(c->GetBkColor2()); }},
        {L"Control.bkcolor3", [](CControlUI* c) { return Color(c->GetBkColor3()); }},
        {L"Control.bkimage", [](CControlUI* c) { return std::wstring(c->GetBkImage()); }},
        {L"Control.colorhsl", [](CControlUI* c) { return Bool(c->IsColorHSL()); }},
        {L"Control.bordercolor", [](CControlUI* c) { return Color(c->GetBorderColor()); }},
        {L"Control.focusbordercolor",
         [](CControlUI* c) { return Color(c->GetFocusBorderColor()); }},
        {L"Control.bordersize", [](CControlUI* c) { return Int(c->GetBorderSize()); }},
        {L"Control.leftbordersize", [](CControlUI* c) { return Int(c->GetLeftBorderSize()); }},
        {L"Control.topbordersize", [](CControlUI* c) { return Int(c->GetTopBorderSize()); }},
        {L"Control.rightbordersize", [](CControlUI* c) { return Int(c->GetRightBorderSize()); }},
        {L"Control.bottombordersize",
         [](CControlUI* c) { return Int(c->GetBottomBorderSize()); }},
        {L"Control.borderstyle", [](CControlUI* c) { return Int(c->GetBorderStyle()); }},
        {L"Control.borderround", [](CControlUI* c) { return Size(c->GetBorderRound()); }},
        {L"Control.visible", [](CControlUI* c) { return Bool(c->IsVisible()); }},
        {L"Control.enabled", [](CControlUI* c) { return Bool(c->IsEnabled()); }},
        {L"Control.mouse", [](CControlUI* c) { return Bool(c->IsMouseEnabled()); }},
        {L"Control.keyboard", [](CControlUI* c) { return Bool(c->IsKeyboardEnabled()); }},
        {L"Control.shortcut", [](CControlUI* c) { return std::wstring(1, c->GetShortcut()); }},
        {L"Control.menu", [](CControlUI* c) { return Bool(c->IsContextMenuUsed()); }},
        // Label
        {L"Label.endellipsis",
         [](CControlUI* c) { return Bool((As<CLabelUI>(c)->GetTextStyle() & DT_END_ELLIPSIS) != 0); }},
        {L"Label.font", [](CControlUI* c) { return Int(As<CLabelUI>(c)->GetFont()); }},
        {L"Label.textcolor", [](CControlUI* c) { return Color(As<CLabelUI>(c)->GetTextColor()); }},
        {L"Label.disabledtextcolor",
         [](CControlUI* c) { return Color(As<CLabelUI>(c)->GetDisabledTextColor()); }},
        {L"Label.textpadding",
         [](CControlUI* c) { return Rect(As<CLabelUI>(c)->GetTextPadding()); }},
        {L"Label.showhtml", [](CControlUI* c) { return Bool(As<CLabelUI>(c)->IsShowHtml()); }},
        {L"Label.enabledeffect",
         [](CControlUI* c) { return Bool(As<CLabelUI>(c)->GetEnabledEffect()); }},
        {L"Label.rhaa",
         [](CControlUI* c) { return Int(As<CLabelUI>(c)->GetTextRenderingHintAntiAlias()); }},
        {L"Label.textcolor1",
         [](CControlUI* c) { return Color(As<CLabelUI>(c)->GetTextColor1()); }},
        {L"Label.gradientangle",
         [](CControlUI* c) { return Int(As<CLabelUI>(c)->GetGradientAngle()); }},
        {L"Label.gradientlength",
         [](CControlUI* c) { return Int(As<CLabelUI>(c)->GetGradientLength()); }},
        {L"Label.transtext", [](CControlUI* c) { return Int(As<CLabelUI>(c)->GetTransText()); }},
        {L"Label.transtext1",
         [](CControlUI* c) { return Int(As<CLabelUI>(c)->GetTransText1()); }},
        {L"Label.enabledshadow",
         [](CControlUI* c) { return Bool(As<CLabelUI>(c)->GetEnabledShadow()); }},
        {L"Label.textshadowcolora",
         [](CControlUI* c) { return Color(As<CLabelUI>(c)->GetTextShadowColorA()); }},
        {L"Label.textshadowcolorb",
         [](CControlUI* c) { return Color(As<CLabelUI>(c)->GetTextShadowColorB()); }},
        {L"Label.transshadow",
         [](CControlUI* c) { return Int(As<CLabelUI>(c)->GetTransShadow()); }},
        {L"Label.transshadow1",
         [](CControlUI* c) { return Int(As<CLabelUI>(c)->GetTransShadow1()); }},
        {L"Label.enabledstroke",
         [](CControlUI* c) { return Bool(As<CLabelUI>(c)->GetEnabledStroke()); }},
        {L"Label.strokecolor",
         [](CControlUI* c) { return Color(As<CLabelUI>(c)->GetStrokeColor()); }},
        {L"Label.transstroke",
         [](CControlUI* c) { return Int(As<CLabelUI>(c)->GetTransStroke()); }},
        // Button and option
        {L"Button.normalimage",
         [](CControlUI* c) { return std::wstring(As<CButtonUI>(c)->GetNormalImage()); }},
        {L"Button.hotimage",
         [](CControlUI* c) { return std::wstring(As<CButtonUI>(c)->GetHotImage()); }},
        {L"Button.pushedimage",
         [](CControlUI* c) { return std::wstring(As<CButtonUI>(c)->GetPushedImage()); }},
        {L"Button.focusedimage",
         [](CControlUI* c) { return std::wstring(As<CButtonUI>(c)->GetFocusedImage()); }},
        {L"Button.disabledimage",
         [](CControlUI* c) { return std::wstring(As<CButtonUI>(c)->GetDisabledImage()); }},
        {L"Button.foreimage",
         [](CControlUI* c) { return std::wstring(As<CButtonUI>(c)->GetForeImage()); }},
        {L"Button.hotforeimage",
         [](CControlUI* c) { return std::wstring(As<CButtonUI>(c)->GetHotForeImage()); }},
        {L"Button.hotbkcolor",
         [](CControlUI* c) { return Color(As<CButtonUI>(c)->GetHotBkColor()); }},
        {L"Button.hottextcolor",
         [](CControlUI* c) { return Color(As<CButtonUI>(c)->GetHotTextColor()); }},
        {L"Button.pushedtextcolor",
         [](CControlUI* c) { return Color(As<CButtonUI>(c)->GetPushedTextColor()); }},
        {L"Button.focusedtextcolor",
         [](CControlUI* c) { return Color(As<CButtonUI>(c)->GetFocusedTextColor()); }},
        {L"Option.group", [](CControlUI* c) { return std::wstring(As<COptionUI>(c)->GetGroup()); }},
        {L"Option.selected", [](CControlUI* c) { return Bool(As<COptionUI>(c)->IsSelected()); }},
        {L"Option.selectedimage",
         [](CControlUI* c) { return std::wstring(As<COptionUI>(c)->GetSelectedImage()); }},
        {L"Option.selectedhotimage",
         [](CControlUI* c) { return std::wstring(As<COptionUI>(c)->GetSelectedHotImage()); }},
        {L"Option.foreimage",
         [](CControlUI* c) { return std::wstring(As<COptionUI>(c)->GetForeImage()); }},
        {L"Option.selectedbkcolor",
         [](CControlUI* c) { return Color(As<COptionUI>(c)->GetSelectedBkColor()); }},
        {L"Option.selectedtextcolor",
         [](CControlUI* c) { return Color(As<COptionUI>(c)->GetSelectedTextColor()); }},
        // Edit
        {L"Edit.readonly", [](CControlUI* c) { return Bool(As<CEditUI>(c)->IsReadOnly()); }},
        {L"Edit.numberonly", [](CControlUI* c) { return Bool(As<CEditUI>(c)->IsNumberOnly()); }},
        {L"Edit.password", [](CControlUI* c) { return Bool(As<CEditUI>(c)->IsPasswordMode()); }},
        {L"Edit.maxchar", [](CControlUI* c) { return Int(As<CEditUI>(c)->GetMaxChar()); }},
        {L"Edit.normalimage",
         [](CControlUI* c) { return std::wstring(As<CEditUI>(c)->GetNormalImage()); }},
        {L"Edit.hotimage",
         [](CControlUI* c) { return std::wstring(As<CEditUI>(c)->GetHotImage()); }},
        {L"Edit.focusedimage",
         [](CControlUI* c) { return std::wstring(As<CEditUI>(c)->GetFocusedImage()); }},
        {L"Edit.disabledimage",
         [](CControlUI* c) { return std::wstring(As<CEditUI>(c)->GetDisabledImage()); }},
        {L"Edit.nativebkcolor",
         [](CControlUI* c) { return Color(As<CEditUI>(c)->GetNativeEditBkColor()); }},
        // Progress and slider
        {L"Progress.foreimage",
         [](CControlUI* c) { return std::wstring(As<CProgressUI>(c)->GetForeImage()); }},
        {L"Progress.hor", [](CControlUI* c) { return Bool(As<CProgressUI>(c)->IsHorizontal()); }},
        {L"Progress.min", [](CControlUI* c) { return Int(As<CProgressUI>(c)->GetMinValue()); }},
        {L"Progress.max", [](CControlUI* c) { return Int(As<CProgressUI>(c)->GetMaxValue()); }},
        {L"Progress.value", [](CControlUI* c) { return Int(As<CProgressUI>(c)->GetValue()); }},
        {L"Progress.isstretchfore",
         [](CControlUI* c) { return Bool(As<CProgressUI>(c)->IsStretchForeImage()); }},
        {L"Slider.thumbimage",
         [](CControlUI* c) { return std::wstring(As<CSliderUI>(c)->GetThumbImage()); }},
        {L"Slider.thumbhotimage",
         [](CControlUI* c) { return std::wstring(As<CSliderUI>(c)->GetThumbHotImage()); }},
        {L"Slider.thumbpushedimage",
         [](CControlUI* c) { return std::wstring(As<CSliderUI>(c)->GetThumbPushedImage()); }},
        {L"Slider.thumbsize", [](CControlUI* c) { return Size(As<CSliderUI>(c)->GetThumbSize()); }},
        {L"Slider.step", [](CControlUI* c) { return Int(As<CSliderUI>(c)->GetChangeStep()); }},
        // Scroll bar
        {L"ScrollBar.hor", [](CControlUI* c) { return Bool(As<CScrollBarUI>(c)->IsHorizontal()); }},
        {L"ScrollBar.range",
         [](CControlUI* c) { return Int(As<CScrollBarUI>(c)->GetScrollRange()); }},
        {L"ScrollBar.value", [](CControlUI* c) { return Int(As<CScrollBarUI>(c)->GetScrollPos()); }},
        {L"ScrollBar.linesize", [](CControlUI* c) { return Int(As<CScrollBarUI>(c)->GetLineSize()); }},
        {L"ScrollBar.showbutton1",
         [](CControlUI* c) { return Bool(As<CScrollBarUI>(c)->GetShowButton1()); }},
        {L"ScrollBar.showbutton2",
         [](CControlUI* c) { return Bool(As<CScrollBarUI>(c)->GetShowButton2()); }},
        {L"ScrollBar.bknormalimage",
         [](CControlUI* c) { return std::wstring(As<CScrollBarUI>(c)->GetBkNormalImage()); }},
        {L"ScrollBar.button1hotimage",
         [](CControlUI* c) { return std::wstring(As<CScrollBarUI>(c)->GetButton1HotImage()); }},
        {L"ScrollBar.button2pushedimage",
         [](CControlUI* c) { return std::wstring(As<CScrollBarUI>(c)->GetButton2PushedImage()); }},
        {L"ScrollBar.thumbdisabledimage",
         [](CControlUI* c) { return std::wstring(As<CScrollBarUI>(c)->GetThumbDisabledImage()); }},
        {L"ScrollBar.railnormalimage",
         [](CControlUI* c) { return std::wstring(As<CScrollBarUI>(c)->GetRailNormalImage()); }},
        // Containers and layouts
        {L"Container.inset", [](CControlUI* c) { return Rect(As<CContainerUI>(c)->GetInset()); }},
        {L"Container.childpadding",
         [](CControlUI* c) { return Int(As<CContainerUI>(c)->GetChildPadding()); }},
        {L"Container.mousechild",
         [](CControlUI* c) { return Bool(As<CContainerUI>(c)->IsMouseChildEnabled()); }},
        {L"Container.vscrollbar",
         [](CControlUI* c) { return Bool(As<CContainerUI>(c)->GetVerticalScrollBar() != nullptr); }},
        {L"Container.hscrollbar",
         [](CControlUI* c) {
             return Bool(As<CContainerUI>(c)->GetHorizontalScrollBar() != nullptr);
         }},
        {L"VerticalLayout.sepheight",
         [](CControlUI* c) { return Int(As<CVerticalLayoutUI>(c)->GetSepHeight()); }},
        {L"VerticalLayout.sepimm",
         [](CControlUI* c) { return Bool(As<CVerticalLayoutUI>(c)->IsSepImmMode()); }},
        {L"HorizontalLayout.sepwidth",
         [](CControlUI* c) { return Int(As<CHorizontalLayoutUI>(c)->GetSepWidth()); }},
        {L"HorizontalLayout.sepimm",
         [](CControlUI* c) { return Bool(As<CHorizontalLayoutUI>(c)->IsSepImmMode()); }},
        {L"TileLayout.itemsize",
         [](CControlUI* c) { return Size(As<CTileLayoutUI>(c)->GetItemSize()); }},
        {L"TileLayout.columns", [](CControlUI* c) { return Int(As<CTileLayoutUI>(c)->GetColumns()); }},
        {L"ChildLayout.xmlfile",
         [](CControlUI* c) { return std::wstring(As<CChildLayoutUI>(c)->GetChildLayoutXML()); }},
        // Combo
        {L"Combo.textpadding", [](CControlUI* c) { return Rect(As<CComboUI>(c)->GetTextPadding()); }},
        {L"Combo.normalimage",
         [](CControlUI* c) { return std::wstring(As<CComboUI>(c)->GetNormalImage()); }},
        {L"Combo.disabledimage",
         [](CControlUI* c) { return std::wstring(As<CComboUI>(c)->GetDisabledImage()); }},
        {L"Combo.dropbox",
         [](CControlUI* c) { return std::wstring(As<CComboUI>(c)->GetDropBoxAttributeList()); }},
        {L"Combo.dropboxsize", [](CControlUI* c) { return Size(As<CComboUI>(c)->GetDropBoxSize()); }},
        {L"Combo.itemfont",
         [](CControlUI* c) { return ListInfoOf(c, [](const TListInfoUI& i) { return Int(i.font); }); }},
        {L"Combo.itemtextpadding",
         [](CControlUI* c) {
             return ListInfoOf(c, [](const TListInfoUI& i) { return Rect(i.textPadding); });
         }},
        {L"Combo.itemtextcolor",
         [](CControlUI* c) {
             return ListInfoOf(c, [](const TListInfoUI& i) { return Color(i.textColor); });
         }},
        {L"Combo.itembkcolor",
         [](CControlUI* c) { return ListInfoOf(c, [](const TListInfoUI& i) { return Color(i.bkColor); }); }},
        {L"Combo.itembkimage",
         [](CControlUI* c) {
             return ListInfoOf(c, [](const TListInfoUI& i) { return std::wstring(i.bkImage); });
         }},
        {L"Combo.itemaltbk",
         [](CControlUI* c) {
             return ListInfoOf(c, [](const TListInfoUI& i) { return Bool(i.alternateBk); });
         }},
        {L"Combo.itemselectedbkcolor",
         [](CControlUI* c) {
             return ListInfoOf(c, [](const TListInfoUI& i) { return Color(i.selectedBkColor); });
         }},
        {L"Combo.itemhottextcolor",
         [](CControlUI* c) {
             return ListInfoOf(c, [](const TListInfoUI& i) { return Color(i.hotTextColor); });
         }},
        {L"Combo.itemdisabledtextcolor",
         [](CControlUI* c) {
             return ListInfoOf(c, [](const TListInfoUI& i) { return Color(i.disabledTextColor); });
         }},
        {L"Combo.itemdisabledbkcolor",
         [](CControlUI* c) {
             return ListInfoOf(c, [](const TListInfoUI& i) { return Color(i.disabledBkColor); });
         }},
        {L"Combo.itemlinecolor",
         [](CControlUI* c) {
             return ListInfoOf(c, [](const TListInfoUI& i) { return Color(i.lineColor); });
         }},
        {L"Combo.itemshowhtml",
         [](CControlUI* c) { return ListInfoOf(c, [](const TListInfoUI& i) { return Bool(i.showHtml); }); }},
        {L"ComboBox.arrowimage",
         [](CControlUI* c) { return std::wstring(As<CComboBoxUI>(c)->GetArrowImage()); }},
        // List family
        {L"List.headerbkimage",
         [](CControlUI* c) { return std::wstring(As<CListUI>(c)->GetHeader()->GetBkImage()); }},
        {L"List.scrollselect", [](CControlUI* c) { return Bool(As<CListUI>(c)->GetScrollSelect()); }},
        {L"List.multiselect", [](CControlUI* c) { return Bool(As<CListUI>(c)->IsMultiSelect()); }},
        {L"List.multiexpanding",
         [](CControlUI* c) { return Bool(As<CListUI>(c)->IsMultiExpanding()); }},
        {L"List.itemfont", [](CControlUI* c) { return Int(As<CListUI>(c)->GetItemFont()); }},
        {L"List.itemendellipsis",
         [](CControlUI* c) {
             return Bool((As<CListUI>(c)->GetItemTextStyle() & DT_END_ELLIPSIS) != 0);
         }},
        {L"List.itemtextpadding",
         [](CControlUI* c) { return Rect(As<CListUI>(c)->GetItemTextPadding()); }},
        {L"List.itemtextcolor", [](CControlUI* c) { return Color(As<CListUI>(c)->GetItemTextColor()); }},
        {L"List.itembkcolor", [](CControlUI* c) { return Color(As<CListUI>(c)->GetItemBkColor()); }},
        {L"List.itembkimage",
         [](CControlUI* c) { return std::wstring(As<CListUI>(c)->GetItemBkImage()); }},
        {L"List.itemaltbk", [](CControlUI* c) { return Bool(As<CListUI>(c)->IsAlternateBk()); }},
        {L"List.itemselectedtextcolor",
         [](CControlUI* c) { return Color(As<CListUI>(c)->GetSelectedItemTextColor()); }},
        {L"List.itemselectedbkcolor",
         [](CControlUI* c) { return Color(As<CListUI>(c)->GetSelectedItemBkColor()); }},
        {L"List.itemselectedimage",
         [](CControlUI* c) { return std::wstring(As<CListUI>(c)->GetSelectedItemImage()); }},
        {L"List.itemhottextcolor",
         [](CControlUI* c) { return Color(As<CListUI>(c)->GetHotItemTextColor()); }},
        {L"List.itemhotbkcolor",
         [](CControlUI* c) { return Color(As<CListUI>(c)->GetHotItemBkColor()); }},
        {L"List.itemhotimage",
         [](CControlUI* c) { return std::wstring(As<CListUI>(c)->GetHotItemImage()); }},
        {L"List.itemdisabledtextcolor",
         [](CControlUI* c) { return Color(As<CListUI>(c)->GetDisabledItemTextColor()); }},
        {L"List.itemdisabledbkcolor",
         [](CControlUI* c) { return Color(As<CListUI>(c)->GetDisabledItemBkColor()); }},
        {L"List.itemdisabledimage",
         [](CControlUI* c) { return std::wstring(As<CListUI>(c)->GetDisabledItemImage()); }},
        {L"List.itemlinecolor", [](CControlUI* c) { return Color(As<CListUI>(c)->GetItemLineColor()); }},
        {L"List.itemshowhtml", [](CControlUI* c) { return Bool(As<CListUI>(c)->IsItemShowHtml()); }},
        {L"ListHeaderItem.dragable",
         [](CControlUI* c) { return Bool(As<CListHeaderItemUI>(c)->IsDragable()); }},
        {L"ListHeaderItem.sepwidth",
         [](CControlUI* c) { return Int(As<CListHeaderItemUI>(c)->GetSepWidth()); }},
        {L"ListHeaderItem.endellipsis",
         [](CControlUI* c) {
             return Bool((As<CListHeaderItemUI>(c)->GetTextStyle() & DT_END_ELLIPSIS) != 0);
         }},
        {L"ListHeaderItem.font", [](CControlUI* c) { return Int(As<CListHeaderItemUI>(c)->GetFont()); }},
        {L"ListHeaderItem.textcolor",
         [](CControlUI* c) { return Color(As<CListHeaderItemUI>(c)->GetTextColor()); }},
        {L"ListHeaderItem.textpadding",
         [](CControlUI* c) { return Rect(As<CListHeaderItemUI>(c)->GetTextPadding()); }},
        {L"ListHeaderItem.showhtml",
         [](CControlUI* c) { return Bool(As<CListHeaderItemUI>(c)->IsShowHtml()); }},
        {L"ListHeaderItem.pushedimage",
         [](CControlUI* c) { return std::wstring(As<CListHeaderItemUI>(c)->GetPushedImage()); }},
        {L"ListHeaderItem.sepimage",
         [](CControlUI* c) { return std::wstring(As<CListHeaderItemUI>(c)->GetSepImage()); }},
        // Tree: the view's item colours go to its nodes, so the list's getters must not answer.
        {L"TreeView.visiblefolderbtn",
         [](CControlUI* c) { return Bool(As<CTreeViewUI>(c)->GetVisibleFolderBtn()); }},
        {L"TreeView.visiblecheckbtn",
         [](CControlUI* c) { return Bool(As<CTreeViewUI>(c)->GetVisibleCheckBtn()); }},
        {L"TreeView.itemminwidth",
         [](CControlUI* c) { return Int(As<CTreeViewUI>(c)->GetItemMinWidth()); }},
        {L"TreeView.itemtextcolor", nullptr},
        {L"TreeView.itemhottextcolor", nullptr},
        {L"TreeView.selitemtextcolor", nullptr},
        {L"TreeView.selitemhottextcolor", nullptr},
        {L"TreeNode.text", [](CControlUI* c) { return std::wstring(As<CTreeNodeUI>(c)->GetItemText()); }},
        {L"TreeNode.itemtextcolor",
         [](CControlUI* c) { return Color(As<CTreeNodeUI>(c)->GetItemTextColor()); }},
        {L"TreeNode.itemhottextcolor",
         [](CControlUI* c) { return Color(As<CTreeNodeUI>(c)->GetItemHotTextColor()); }},
        {L"TreeNode.selitemtextcolor",
         [](CControlUI* c) { return Color(As<CTreeNodeUI>(c)->GetSelItemTextColor()); }},
        {L"TreeNode.selitemhottextcolor",
         [](CControlUI* c) { return Color(As<CTreeNodeUI>(c)->GetSelItemHotTextColor()); }},
        // Rich edit
        {L"RichEdit.readonly", [](CControlUI* c) { return Bool(As<CRichEditUI>(c)->IsReadOnly()); }},
        {L"RichEdit.rich", [](CControlUI* c) { return Bool(As<CRichEditUI>(c)->IsRich()); }},
        // Tab is wanted only once the text services run, which needs a window.
        {L"RichEdit.wanttab", nullptr},
        {L"RichEdit.wantreturn",
         [](CControlUI* c) { return Bool(As<CRichEditUI>(c)->IsWantReturn()); }},
        {L"RichEdit.wantctrlreturn",
         [](CControlUI* c) { return Bool(As<CRichEditUI>(c)->IsWantCtrlReturn()); }},
        {L"RichEdit.font", [](CControlUI* c) { return Int(As<CRichEditUI>(c)->GetFont()); }},
        {L"RichEdit.textcolor",
         [](CControlUI* c) { return Color(As<CRichEditUI>(c)->GetTextColor()); }},
        // ActiveX and browser
        {L"ActiveX.clsid",
         [](CControlUI* c) {
             wchar_t text[64] = L"";
             ::StringFromGUID2(As<CActiveXUI>(c)->GetClisd(), text, 64);
             return std::wstring(text);
         }},
        {L"ActiveX.modulename",
         [](CControlUI* c) { return std::wstring(As<CActiveXUI>(c)->GetModuleName()); }},
        {L"ActiveX.delaycreate", [](CControlUI* c) { return Bool(As<CActiveXUI>(c)->IsDelayCreate()); }},
        {L"WebBrowser.homepage",
         [](CControlUI* c) { return std::wstring(As<CWebBrowserUI>(c)->GetHomePage()); }},
        {L"WebBrowser.autonavi",
         [](CControlUI* c) { return Bool(As<CWebBrowserUI>(c)->IsAutoNavigation()); }},
    };
    return table;
}

// The read-back for a row of `section`: its own, or the nearest base section's; null when
// there is none or the nearest entry says the value cannot be read back.
const ReadBack* FindReadBack(const std::wstring& section, const std::wstring& attribute) {
    for (const Section* s : TheReference().Chain(section)) {
        const auto found = ReadBacks().find(s->name + L"." + attribute);
        if (found != ReadBacks().end()) return found->second ? &found->second : nullptr;
    }
    return nullptr;
}

std::vector<const Section*> ControlSections() {
    std::vector<const Section*> sections;
    for (const Section& section : TheReference().sections)
        if (!section.className.empty()) sections.push_back(&section);
    return sections;
}

class ControlReference : public ::testing::Test {
protected:
    void SetUp() override {
        const Reference& reference = TheReference();
        ASSERT_TRUE(reference.error.empty()) << Narrow(reference.error);
        ASSERT_GE(reference.elements.size(), 30u);
    }
};

TEST_F(ControlReference, EveryElementBuildsTheClassItNames) {
    for (const ElementRow& row : TheReference().elements) {
        SCOPED_TRACE(Narrow(row.element));
        const Built built = BuildElement(row.element);
        ASSERT_NE(built.control, nullptr);
        EXPECT_EQ(std::wstring(built.control->GetClass()), WithoutPrefix(row.className));
        // Each element has its section, naming the same class.
        const Section* section = TheReference().Find(row.element);
        ASSERT_NE(section, nullptr);
        EXPECT_EQ(section->className, row.className);
    }
}

TEST_F(ControlReference, ListsEveryElementTheBuilderMapsAndNoOther) {
    std::set<std::wstring> builder;
    for (int i = 0; CDialogBuilder::GetControlElementName(i) != nullptr; ++i)
        builder.insert(CDialogBuilder::GetControlElementName(i));
    std::set<std::wstring> reference;
    for (const ElementRow& row : TheReference().elements)
        EXPECT_TRUE(reference.insert(row.element).second) << "twice: " << Narrow(row.element);
    for (const std::wstring& name : builder)
        EXPECT_EQ(reference.count(name), 1u) << "not in the reference: " << Narrow(name);
    for (const std::wstring& name : reference)
        EXPECT_EQ(builder.count(name), 1u) << "the builder does not map: " << Narrow(name);
    // A control section for each element, and an element for each control section.
    for (const Section* section : ControlSections())
        EXPECT_EQ(reference.count(section->name), 1u) << "no element: " << Narrow(section->name);
    EXPECT_EQ(ControlSections().size(), reference.size());
    // Names outside the table build nothing.
    CDialogBuilder unknown;
    EXPECT_EQ(unknown.Create(L"<Window><Lable/></Window>"), nullptr);
}

TEST_F(ControlReference, SectionsInheritAsTheControlsDo) {
    for (const Section* section : ControlSections()) {
        if (section->base.empty()) continue;
        // Takes the container's attributes, but answers as no container: the builder must
        // put nothing into it, its content comes from its file.
        if (section->name == L"ChildLayout") continue;
        SCOPED_TRACE(Narrow(section->name));
        ASSERT_NE(TheReference().Find(section->base), nullptr) << "no section for the base";
        const Built built = BuildElement(section->name);
        ASSERT_NE(built.control, nullptr);
        // Every control answers its own element name and its bases' as interface names.
        EXPECT_NE(built.control->GetInterface(section->base.c_str()), nullptr);
    }
}

TEST_F(ControlReference, EveryListedAttributeIsTakenWithoutTrace) {
    for (const Section* section : ControlSections()) {
        for (const Section* listing : TheReference().Chain(section->name)) {
            for (const AttributeRow& row : listing->rows) {
                SCOPED_TRACE(Narrow(section->name + L"." + row.name + L"=" + row.example));
                EXPECT_FALSE(row.example.empty()) << "no example";
                const Built built = BuildElement(section->name);
                ASSERT_NE(built.control, nullptr);
                skintest::TraceLines traces;
                built.control->SetAttribute(row.name.c_str(), row.example.c_str());
                EXPECT_EQ(traces.Count(kUnknownAttribute), 0);
            }
        }
    }
}

// Every name the page lists anywhere, tried on every class: a class that takes one
// without a trace must list it (or inherit it), so no class takes an undocumented name
// that the page knows from another class.
TEST_F(ControlReference, NoClassTakesAListedNameItsSectionsLeaveOut) {
    std::map<std::wstring, std::wstring> everyName; // name -> an example
    for (const Section* section : ControlSections())
        for (const AttributeRow& row : section->rows)
            everyName.emplace(row.name, row.example);
    for (const Section* section : ControlSections()) {
        std::set<std::wstring> listed;
        for (const Section* listing : TheReference().Chain(section->name))
            for (const AttributeRow& row : listing->rows)
                listed.insert(row.name);
        const Built built = BuildElement(section->name);
        ASSERT_NE(built.control, nullptr);
        for (const auto& name : everyName) {
            if (listed.count(name.first) != 0) continue;
            skintest::TraceLines traces;
            built.control->SetAttribute(name.first.c_str(), name.second.c_str());
            EXPECT_EQ(traces.Count(kUnknownAttribute), 1)
                << Narrow(section->name) << " takes \"" << Narrow(name.first)
                << "\", which its sections do not list";
        }
    }
}

TEST_F(ControlReference, AnUnknownAttributeIsTracedOnceWithTheClass) {
    for (const Section* section : ControlSections()) {
        SCOPED_TRACE(Narrow(section->name));
        const Built built = BuildElement(section->name);
        ASSERT_NE(built.control, nullptr);
        skintest::TraceLines traces;
        built.control->SetAttribute(L"textcolour", L"#FF000000");
        const std::vector<std::wstring> lines = traces.Lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(L"unknown attribute \"textcolour\" on " +
                                WithoutPrefix(section->className)),
                  std::wstring::npos)
            << Narrow(lines[0]);
    }
    // A named control says which one it is; a default list is checked the same way.
    CLabelUI label;
    label.SetName(L"title");
    skintest::TraceLines traces;
    label.ApplyAttributeList(L"text=\"a\" colour=\"#FF000000\" font=\"1\"");
    EXPECT_EQ(traces.Count(L"unknown attribute \"colour\" on LabelUI \"title\""), 1);
    EXPECT_EQ(label.GetFont(), 1);
}

// Code calls SetAttribute too, and may hand it nothing: every class ignores a null name
// and reads a null value as empty text.
TEST_F(ControlReference, NullNamesAndValuesAreHarmless) {
    for (const Section* section : ControlSections()) {
        SCOPED_TRACE(Narrow(section->name));
        const Built built = BuildElement(section->name);
        ASSERT_NE(built.control, nullptr);
        skintest::TraceLines traces;
        built.control->SetAttribute(nullptr, L"1");
        built.control->SetAttribute(nullptr, nullptr);
        EXPECT_EQ(traces.Count(kUnknownAttribute), 0);
        for (const Section* listing : TheReference().Chain(section->name))
            for (const AttributeRow& row : listing->rows)
                built.control->SetAttribute(row.name.c_str(), nullptr);
    }
    CWebBrowser2UI browser;
    browser.SetAttribute(nullptr, L"true");
    browser.SetAttribute(L"url", nullptr);
    browser.SetAttribute(L"autonavi", nullptr);
}

TEST_F(ControlReference, ExamplesAndDefaultsReadBack) {
    int checked = 0;
    for (const Section* section : ControlSections()) {
        for (const AttributeRow& row : section->rows) {
            const ReadBack* read = FindReadBack(section->name, row.name);
            if (read == nullptr) continue;
            SCOPED_TRACE(Narrow(section->name + L"." + row.name));
            const Built fresh = BuildElement(section->name);
            ASSERT_NE(fresh.control, nullptr);
            if (row.hasDefault) {
                EXPECT_EQ(Narrow((*read)(fresh.control)), Narrow(row.defaultValue));
            }
            fresh.control->SetAttribute(row.name.c_str(), row.example.c_str());
            EXPECT_EQ(Narrow((*read)(fresh.control)), Narrow(row.example));
            ++checked;
        }
    }
    EXPECT_GE(checked, 150);
    // Every read-back names a row of the reference, so none of them silently checks nothing.
    for (const auto& entry : ReadBacks()) {
        const size_t dot = entry.first.find(L'.');
        const Section* section = TheReference().Find(entry.first.substr(0, dot));
        bool listed = false;
        for (const AttributeRow& row :
             section != nullptr ? section->rows : std::vector<AttributeRow>())
            listed = listed || row.name == entry.first.substr(dot + 1);
        EXPECT_TRUE(listed) << "read-back of no row: " << Narrow(entry.first);
    }
}

// The XML examples of the page, each in a window document, built for a window.
TEST_F(ControlReference, XmlExamplesBuildWithoutTrace) {
    ASSERT_GE(TheReference().examples.size(), TheReference().elements.size());
    for (const XmlExample& example : TheReference().examples) {
        SCOPED_TRACE(Narrow(example.section + L":\n" + example.text));
        std::wstring text = example.text;
        if (text.compare(0, 5, L"<?xml") != 0 && text.compare(0, 7, L"<Window") != 0)
            text = L"<Window>" + text + L"</Window>";
        HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr);
        CPaintManagerUI manager;
        manager.Init(window);
        {
            skintest::TraceLines traces;
            CDialogBuilder builder;
            std::unique_ptr<CControlUI> root(
                builder.Create(text.c_str(), nullptr, nullptr, &manager));
            EXPECT_NE(root, nullptr);
            for (const std::wstring& line : traces.Lines()) {
                EXPECT_EQ(line.find(kUnknownAttribute), std::wstring::npos) << Narrow(line);
                EXPECT_EQ(line.find(L"Unknown skin element"), std::wstring::npos) << Narrow(line);
            }
        }
        ::DestroyWindow(window);
    }
}

} // namespace
