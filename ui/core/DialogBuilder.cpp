#include "core/DialogBuilder.h"

#include <cwchar>

#include "activex/ActiveXUI.h"
#include "activex/WebBrowserUI.h"
#include "control/AttributeValue.h"
#include "control/ButtonUI.h"
#include "control/CheckBoxUI.h"
#include "control/ChildLayoutUI.h"
#include "control/ComboBoxUI.h"
#include "control/ComboUI.h"
#include "control/ContainerUI.h"
#include "control/ControlUI.h"
#include "control/DateTimeUI.h"
#include "control/EditUI.h"
#include "control/HorizontalLayoutUI.h"
#include "control/LabelUI.h"
#include "control/ListContainerElementUI.h"
#include "control/ListHeaderItemUI.h"
#include "control/ListHeaderUI.h"
#include "control/ListTextElementUI.h"
#include "control/ListUI.h"
#include "control/OptionUI.h"
#include "control/RichEditUI.h"
#include "control/ProgressUI.h"
#include "control/ScrollBarUI.h"
#include "control/SliderUI.h"
#include "control/TabLayoutUI.h"
#include "control/TextUI.h"
#include "control/TileLayoutUI.h"
#include "control/TreeNodeUI.h"
#include "control/TreeViewUI.h"
#include "control/VerticalLayoutUI.h"
#include "core/SkinFile.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

namespace {

// Longest `source` of an `Include`, terminator included.
constexpr unsigned long kIncludeSourceSize = 500;

template <class T> CControlUI* MakeControl() {
    return new T;
}

struct BuiltInControl {
    const wchar_t* name;
    CControlUI* (*make)();
};

// Element names the framework builds itself, matched exactly.
const BuiltInControl kBuiltInControls[] = {
    {L"Edit", &MakeControl<CEditUI>},
    {L"Text", &MakeControl<CTextUI>},
    {L"Combo", &MakeControl<CComboUI>},
    {L"Label", &MakeControl<CLabelUI>},
    {L"Button", &MakeControl<CButtonUI>},
    {L"Option", &MakeControl<COptionUI>},
    {L"Slider", &MakeControl<CSliderUI>},
    {L"Control", &MakeControl<CControlUI>},
    {L"ActiveX", &MakeControl<CActiveXUI>},
    {L"Progress", &MakeControl<CProgressUI>},
    {L"DateTime", &MakeControl<CDateTimeUI>},
    {L"Container", &MakeControl<CContainerUI>},
    {L"TabLayout", &MakeControl<CTabLayoutUI>},
    {L"ScrollBar", &MakeControl<CScrollBarUI>},
    {L"RichEdit", &MakeControl<CRichEditUI>},
    {L"TileLayout", &MakeControl<CTileLayoutUI>},
    {L"CheckBox", &MakeControl<CCheckBoxUI>},
    {L"ComboBox", &MakeControl<CComboBoxUI>},
    {L"TreeView", &MakeControl<CTreeViewUI>},
    {L"ChildLayout", &MakeControl<CChildLayoutUI>},
    {L"VerticalLayout", &MakeControl<CVerticalLayoutUI>},
    {L"HorizontalLayout", &MakeControl<CHorizontalLayoutUI>},
    {L"WebBrowser", &MakeControl<CWebBrowserUI>},
    {L"List", &MakeControl<CListUI>},
    {L"ListHeader", &MakeControl<CListHeaderUI>},
    {L"ListHeaderItem", &MakeControl<CListHeaderItemUI>},
    {L"ListElement", &MakeControl<CListElementUI>},
    {L"ListLabelElement", &MakeControl<CListLabelElementUI>},
    {L"ListTextElement", &MakeControl<CListTextElementUI>},
    {L"ListContainerElement", &MakeControl<CListContainerElementUI>},
};

// The element the builder turns into a tree node itself, beside the table above.
constexpr const wchar_t* kTreeNodeElement = L"TreeNode";

CControlUI* MakeBuiltInControl(const wchar_t* className) {
    for (const BuiltInControl& entry : kBuiltInControls)
        if (wcscmp(entry.name, className) == 0) return entry.make();
    return nullptr;
}

// The tree controls' part of building: a new node, and adding a control to a node's row
// or a node to a node or a tree view (the pointers are what "TreeNode" and "TreeView"
// answered).
CControlUI* MakeTreeNode() {
    return new CTreeNodeUI;
}
bool AddToTreeNode(void* node, CControlUI* child) {
    return static_cast<CTreeNodeUI*>(node)->Add(child);
}
bool AddToNodeRow(void* node, CControlUI* control) {
    return static_cast<CTreeNodeUI*>(node)->GetTreeNodeHoriznotal()->Add(control);
}
bool AddToTreeView(void* view, CControlUI* node) {
    return static_cast<CTreeViewUI*>(view)->Add(node);
}

// Where an element sits in its document, as a path of element names from the root; a
// name shared with siblings carries its place among them ("Label[2]").
CSkinString ElementPath(const CMarkupNode& element) {
    CSkinString path;
    for (CMarkupNode node = element; node.IsValid(); node = node.GetParent()) {
        const wchar_t* name = node.GetName();
        int position = 0;
        int sameNamed = 0;
        const CMarkupNode parent = node.GetParent();
        for (CMarkupNode sibling = parent.IsValid() ? parent.GetChild() : CMarkupNode(node);
             sibling.IsValid(); sibling = sibling.GetSibling()) {
            if (wcscmp(sibling.GetName(), name) != 0) continue;
            ++sameNamed;
            // Names point into the document, so the same pointer is the same element.
            if (sibling.GetName() == name) position = sameNamed;
        }
        CSkinString step(L"/");
        step += name;
        if (sameNamed > 1) {
            CSkinString index;
            index.SmallFormat(L"[%d]", position);
            step += index;
        }
        path = step + path;
    }
    return path;
}

// Skin authors learn of a misspelt name from the trace instead of a silent default.
void TraceUnknownAttribute(const wchar_t* attribute, const wchar_t* element) {
    SKIN__Trace(L"SkinUI: unknown attribute \"%s\" on <%s>", attribute, element);
}

// The attributes each resource element reads.
struct ResourceElement {
    const wchar_t* element;
    const wchar_t* attributes[6];
};
const ResourceElement kResourceElements[] = {
    {L"Image", {L"name", L"restype", L"mask"}},
    {L"Font", {L"name", L"size", L"bold", L"underline", L"italic", L"default"}},
    {L"Default", {L"name", L"value"}},
};

bool ReadsAttribute(const wchar_t* element, const wchar_t* attribute) {
    for (const ResourceElement& entry : kResourceElements) {
        if (wcscmp(entry.element, element) != 0) continue;
        for (const wchar_t* known : entry.attributes)
            if (known != nullptr && wcscmp(known, attribute) == 0) return true;
    }
    return false;
}

bool IsResourceElement(const wchar_t* name) {
    return wcscmp(name, L"Image") == 0 || wcscmp(name, L"Font") == 0 ||
           wcscmp(name, L"Default") == 0;
}

// Registers the `Image`, `Font` and `Default` children of the root with the manager, at
// most `limit` of them (the rest skipped with one trace line); `used` counts them.
void ApplyResources(CMarkupNode& root, CPaintManagerUI* manager, int& used, int limit) {
    for (CMarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        const wchar_t* element = node.GetName();
        if (!IsResourceElement(element)) continue;
        if (used++ == limit) {
            SKIN__Trace(L"SkinUI: <%s> at %s and later resource elements skipped: one skin "
                        L"has at most %d",
                        element, ElementPath(node).GetData(), limit);
        }
        if (used > limit) continue;
        // Every attribute is read in order, so a repeated one counts with its last value.
        const wchar_t* name = nullptr;
        const wchar_t* type = nullptr;
        const wchar_t* value = nullptr;
        DWORD mask = 0;
        int size = 12;
        bool bold = false;
        bool underline = false;
        bool italic = false;
        bool isDefault = false;
        const int count = node.GetAttributeCount();
        for (int i = 0; i < count; ++i) {
            const wchar_t* attribute = node.GetAttributeName(i);
            const wchar_t* text = node.GetAttributeValue(i);
            if (!ReadsAttribute(element, attribute))
                TraceUnknownAttribute(attribute, element);
            else if (wcscmp(attribute, L"name") == 0)
                name = text;
            else if (wcscmp(attribute, L"restype") == 0)
                type = text;
            else if (wcscmp(attribute, L"mask") == 0)
                mask = ParseColorValueHashOnly(text);
            else if (wcscmp(attribute, L"size") == 0)
                size = ParseIntValue(text);
            else if (wcscmp(attribute, L"bold") == 0)
                bold = ParseBoolValue(text);
            else if (wcscmp(attribute, L"underline") == 0)
                underline = ParseBoolValue(text);
            else if (wcscmp(attribute, L"italic") == 0)
                italic = ParseBoolValue(text);
            else if (wcscmp(attribute, L"default") == 0)
                isDefault = ParseBoolValue(text);
            else if (wcscmp(attribute, L"value") == 0)
                value = text;
        }
        if (name == nullptr) continue;
        if (wcscmp(element, L"Image") == 0) {
            manager->AddImage(name, type, mask);
        } else if (wcscmp(element, L"Font") == 0) {
            manager->AddFont(name, size, bold, underline, italic);
            if (isDefault) manager->SetDefaultFont(name, size, bold, underline, italic);
        } else {
            manager->AddDefaultAttributeList(name, value);
        }
    }
}

// The settings of a `Window` root element, in document order.
void ApplyWindowAttributes(CMarkupNode& root, CPaintManagerUI* manager) {
    const int count = root.GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        const wchar_t* name = root.GetAttributeName(i);
        const wchar_t* value = root.GetAttributeValue(i);
        int n[4];
        ReadNumberList(value, n, 4);
        if (wcscmp(name, L"size") == 0) {
            manager->SetInitSize(n[0], n[1]);
        } else if (wcscmp(name, L"sizebox") == 0) {
            manager->SetSizeBox(RECT{n[0], n[1], n[2], n[3]});
        } else if (wcscmp(name, L"caption") == 0) {
            manager->SetCaptionRect(RECT{n[0], n[1], n[2], n[3]});
        } else if (wcscmp(name, L"roundcorner") == 0) {
            manager->SetRoundCorner(n[0], n[1]);
        } else if (wcscmp(name, L"mininfo") == 0) {
            manager->SetMinInfo(n[0], n[1]);
        } else if (wcscmp(name, L"maxinfo") == 0) {
            manager->SetMaxInfo(n[0], n[1]);
        } else if (wcscmp(name, L"showdirty") == 0) {
            manager->SetShowUpdateRect(ParseBoolValue(value));
        } else if (wcscmp(name, L"shadow") == 0) {
            manager->SetHasWindowShadow(ParseBoolValue(value));
        } else if (wcscmp(name, L"shadowimage") == 0) {
            manager->SetWindowShadowImage(value);
        } else if (wcscmp(name, L"shadowtopleft") == 0) {
            manager->SetTopleftShadowRect(n[0], n[1], n[2], n[3]);
        } else if (wcscmp(name, L"shadowtopright") == 0) {
            manager->SetToprightShadowRect(n[0], n[1], n[2], n[3]);
        } else if (wcscmp(name, L"shadowbottomleft") == 0) {
            manager->SetBottomleftShadowRect(n[0], n[1], n[2], n[3]);
        } else if (wcscmp(name, L"shadowbottomright") == 0) {
            manager->SetBottomrightShadowRect(n[0], n[1], n[2], n[3]);
        } else if (wcscmp(name, L"alpha") == 0) {
            manager->SetTransparent(ParseIntValue(value));
        } else if (wcscmp(name, L"bktrans") == 0) {
            manager->SetBackgroundTransparent(ParseBoolValue(value));
        } else if (wcscmp(name, L"disabledfontcolor") == 0) {
            manager->SetDefaultDisabledColor(ParseColorValueHashOnly(value));
        } else if (wcscmp(name, L"defaultfontcolor") == 0) {
            manager->SetDefaultFontColor(ParseColorValueHashOnly(value));
        } else if (wcscmp(name, L"linkfontcolor") == 0) {
            manager->SetDefaultLinkFontColor(ParseColorValueHashOnly(value));
        } else if (wcscmp(name, L"linkhoverfontcolor") == 0) {
            manager->SetDefaultLinkHoverFontColor(ParseColorValueHashOnly(value));
        } else if (wcscmp(name, L"selectedcolor") == 0) {
            manager->SetDefaultSelectedBkColor(ParseColorValueHashOnly(value));
        } else {
            TraceUnknownAttribute(name, L"Window");
        }
    }
    if (manager->HasWindowShadow()) manager->CalMiddleShadowRect();
}

} // namespace

CDialogBuilder::CDialogBuilder()
    : m_pCallback(nullptr), m_pstrtype(nullptr), m_includeDepth(0), m_includes(&m_ownIncludes) {}

CControlUI* CDialogBuilder::Create(STRINGorID xml, const wchar_t* type,
                                   IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
    if (xml.IsId()) {
        CSkinFileBytes bytes;
        if (type == nullptr ||
            ReadSkinFile(xml.GetValue(), type, kSkinFileNoSizeLimit, bytes) != SKINFILE_OK)
            return nullptr;
        m_pCallback = callback;
        if (!m_xml.LoadFromMem(bytes.GetData(), bytes.GetSize(), MARKUP_ENCODING_UTF8))
            return nullptr;
        m_pstrtype = type;
    } else if (xml.GetName()[0] == L'<') {
        if (!m_xml.Load(xml.GetName())) return nullptr;
    } else if (!m_xml.LoadFromFile(xml.GetName(), MARKUP_ENCODING_UTF8)) {
        return nullptr;
    }
    return Create(callback, manager, parent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
    m_pCallback = callback;
    if (m_includes == &m_ownIncludes) m_ownIncludes = IncludeCount();
    CMarkupNode root = m_xml.GetRoot();
    if (!root.IsValid()) return nullptr;
    if (manager != nullptr) {
        ApplyResources(root, manager, m_includes->resources, kMaxResourceElements);
        if (wcscmp(root.GetName(), L"Window") == 0 && manager->GetPaintWindow() != nullptr)
            ApplyWindowAttributes(root, manager);
    }
    return _Parse(&root, parent, manager);
}

const wchar_t* CDialogBuilder::GetControlElementName(int index) {
    constexpr int builtIn =
        static_cast<int>(sizeof(kBuiltInControls) / sizeof(kBuiltInControls[0]));
    if (index >= 0 && index < builtIn) return kBuiltInControls[index].name;
    return index == builtIn ? kTreeNodeElement : nullptr;
}

CMarkup* CDialogBuilder::GetMarkup() {
    return &m_xml;
}

void CDialogBuilder::GetLastErrorMessage(wchar_t* message, unsigned long count) const {
    m_xml.GetLastErrorMessage(message, count);
}

void CDialogBuilder::GetLastErrorLocation(wchar_t* source, unsigned long count) const {
    m_xml.GetLastErrorLocation(source, count);
}

CControlUI* CDialogBuilder::_Parse(CMarkupNode* element, CControlUI* parent,
                                   CPaintManagerUI* manager) {
    IContainerUI* container = nullptr;
    bool containerLooked = false;
    CControlUI* first = nullptr;
    for (CMarkupNode node = element->GetChild(); node.IsValid(); node = node.GetSibling()) {
        const wchar_t* className = node.GetName();
        if (IsResourceElement(className)) continue;
        if (wcscmp(className, L"Include") == 0) {
            BuildInclude(node, parent, manager);
            continue;
        }
        if (wcscmp(className, kTreeNodeElement) == 0) {
            if (!BuildTreeNode(node, parent, manager)) return nullptr;
            continue;
        }

        CControlUI* control = CreateControl(className);
        if (control == nullptr) {
            // Nothing makes this name: the element goes with its subtree, and says so. The
            // reports are bounded: each one walks the siblings to name the element's place.
            const int reports = m_includes->unknownReports++;
            if (reports < kMaxUnknownElementReports) {
                SKIN__Trace(L"Unknown skin element <%s> at %s skipped with its children", className,
                            ElementPath(node).GetData());
            } else if (reports == kMaxUnknownElementReports) {
                SKIN__Trace(L"SkinUI: further unknown skin elements skipped without a report");
            }
            continue;
        }
        if (control->GetInterface(L"ActiveX") != nullptr &&
            ++m_includes->activeX > kMaxActiveXControls) {
            if (m_includes->activeX == kMaxActiveXControls + 1) {
                SKIN__Trace(L"SkinUI: <%s> at %s skipped: one skin makes at most %d ActiveX "
                            L"controls",
                            className, ElementPath(node).GetData(), kMaxActiveXControls);
            }
            delete control;
            continue;
        }
        if (node.HasChildren()) _ParseChildren(node, control, manager);

        if (parent != nullptr) {
            if (void* treeNode = parent->GetInterface(L"TreeNode")) {
                if (!AddToNodeRow(treeNode, control)) {
                    delete control;
                    continue;
                }
            } else {
                if (!containerLooked) {
                    container = static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"));
                    containerLooked = true;
                }
                if (container == nullptr) {
                    // A parent that holds no children ends this level.
                    delete control;
                    return nullptr;
                }
                if (!container->Add(control)) {
                    delete control;
                    continue;
                }
            }
        }
        ApplyAttributes(node, control, manager);
        if (first == nullptr) {
            first = control;
        } else if (parent == nullptr) {
            // Only the first top-level control is handed out; no one would own this one.
            delete control;
        }
    }
    return first;
}

void CDialogBuilder::_ParseChildren(CMarkupNode& element, CControlUI* control,
                                    CPaintManagerUI* manager) {
    if (m_includes->depth >= kMaxControlDepth) {
        if (!m_includes->depthTraced) {
            SKIN__Trace(L"SkinUI: controls nest at most %d levels deep: the children of <%s> "
                        L"skipped",
                        kMaxControlDepth, element.GetName());
            m_includes->depthTraced = true;
        }
        return;
    }
    ++m_includes->depth;
    _Parse(&element, control, manager);
    --m_includes->depth;
}

void CDialogBuilder::BuildInclude(CMarkupNode& element, CControlUI* parent,
                                  CPaintManagerUI* manager) {
    if (!element.HasAttributes()) return;
    int count = 1;
    wchar_t source[kIncludeSourceSize] = L"";
    const int attributes = element.GetAttributeCount();
    bool hasSource = false;
    for (int i = 0; i < attributes; ++i) {
        const wchar_t* name = element.GetAttributeName(i);
        if (wcscmp(name, L"count") == 0) {
            count = ParseIntValue(element.GetAttributeValue(i));
        } else if (wcscmp(name, L"source") == 0) {
            element.GetAttributeValue(i, source, kIncludeSourceSize);
            hasSource = true;
        } else {
            TraceUnknownAttribute(name, L"Include");
        }
    }
    if (!hasSource) return;
    // A skin that includes itself, directly or through others, ends here.
    if (m_includeDepth >= kMaxIncludeDepth) return;
    for (int i = 0; i < count; ++i) {
        if (m_includes->builds >= kMaxIncludedBuilds) {
            if (!m_includes->traced) {
                SKIN__Trace(L"SkinUI: Include of \"%s\" skipped: one skin builds at most %d "
                            L"included documents",
                            source, kMaxIncludedBuilds);
                m_includes->traced = true;
            }
            return;
        }
        ++m_includes->builds;
        CDialogBuilder builder;
        builder.m_includeDepth = m_includeDepth + 1;
        builder.m_includes = m_includes;
        CControlUI* included = nullptr;
        if (m_pstrtype != nullptr) {
            const unsigned int id = static_cast<WORD>(wcstol(source, nullptr, 10));
            included = builder.Create(STRINGorID(id), m_pstrtype, m_pCallback, manager, parent);
        } else {
            included = builder.Create(STRINGorID(source), nullptr, m_pCallback, manager, parent);
        }
        // Included controls are never the result: without a parent to hold them, they go.
        if (parent == nullptr) delete included;
    }
}

bool CDialogBuilder::BuildTreeNode(CMarkupNode& element, CControlUI* parent,
                                   CPaintManagerUI* manager) {
    // A node needs a node or a tree view to hang on.
    if (parent == nullptr) return true;
    void* parentNode = parent->GetInterface(L"TreeNode");
    CControlUI* node = MakeTreeNode();
    if (node == nullptr) return true;
    if (parentNode != nullptr && !AddToTreeNode(parentNode, node)) {
        delete node;
        return true;
    }
    ApplyAttributes(element, node, manager);
    if (element.HasChildren()) _ParseChildren(element, node, manager);
    if (parentNode != nullptr) return true;
    void* view = parent->GetInterface(L"TreeView");
    if (view == nullptr) {
        delete node;
        return false;
    }
    if (!AddToTreeView(view, node)) delete node;
    return true;
}

CControlUI* CDialogBuilder::CreateControl(const wchar_t* className) const {
    if (CControlUI* control = MakeBuiltInControl(className)) return control;
    CStdPtrArray* plugins = CPaintManagerUI::GetPlugins();
    for (int i = 0; i < plugins->GetSize(); ++i) {
        const auto factory = reinterpret_cast<LPCREATECONTROL>(plugins->GetAt(i));
        if (CControlUI* control = factory(className)) return control;
    }
    return m_pCallback != nullptr ? m_pCallback->CreateControl(className) : nullptr;
}

void CDialogBuilder::ApplyAttributes(CMarkupNode& element, CControlUI* control,
                                     CPaintManagerUI* manager) {
    if (manager != nullptr) {
        control->SetManager(manager, nullptr, false);
        if (const wchar_t* defaults = manager->GetDefaultAttributeList(element.GetName()))
            control->ApplyAttributeList(defaults);
    }
    const int count = element.GetAttributeCount();
    for (int i = 0; i < count; ++i)
        control->SetAttribute(element.GetAttributeName(i), element.GetAttributeValue(i));
    // The tree joins the manager for real when it is attached to the window.
    if (manager != nullptr) control->SetManager(nullptr, nullptr, false);
}

} // namespace SkinUI
