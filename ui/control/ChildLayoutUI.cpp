#include "control/ChildLayoutUI.h"

#include <cwchar>

#include "core/DialogBuilder.h"
#include "window/PaintManagerUI.h"

namespace SkinUI {

CChildLayoutUI::CChildLayoutUI() = default;

const wchar_t* CChildLayoutUI::GetClass() const {
    return L"ChildLayoutUI";
}

void* CChildLayoutUI::GetInterface(const wchar_t* name) {
    if (name != nullptr && wcscmp(name, L"ChildLayout") == 0) return this;
    return CControlUI::GetInterface(name);
}

void CChildLayoutUI::Init() {
    if (m_sXMLFile.IsEmpty()) return;
    // A layout whose file holds a layout of the same file would build forever: nested
    // layouts build while their parent adds them, so the depth is counted here. A file
    // holding several such layouts multiplies at every level, so the layouts built below
    // the outermost one are counted too.
    static int buildDepth = 0;
    static int nestedBuilds = 0;
    static bool bounded = false;
    if (buildDepth >= CDialogBuilder::kMaxIncludeDepth) return;
    if (buildDepth == 0) {
        nestedBuilds = 0;
        bounded = false;
    } else if (nestedBuilds >= CDialogBuilder::kMaxIncludedBuilds) {
        if (!bounded) {
            SKIN__Trace(L"SkinUI: ChildLayout of \"%s\" skipped: one layout builds at most %d "
                        L"nested layouts",
                        m_sXMLFile.GetData(), CDialogBuilder::kMaxIncludedBuilds);
            bounded = true;
        }
        return;
    } else {
        ++nestedBuilds;
    }
    if (m_pManager != nullptr && !m_pManager->CountChildLayoutBuild()) return;
    ++buildDepth;
    CDialogBuilder builder;
    CControlUI* content =
        builder.Create(STRINGorID(m_sXMLFile.GetData()), nullptr, nullptr, m_pManager, nullptr);
    if (content != nullptr)
        Add(content);
    else
        RemoveAll();
    --buildDepth;
}

void CChildLayoutUI::SetChildLayoutXML(const CSkinString& file) {
    m_sXMLFile = file;
}

CSkinString CChildLayoutUI::GetChildLayoutXML() const {
    return m_sXMLFile;
}

void CChildLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
    if (name != nullptr && wcscmp(name, L"xmlfile") == 0)
        SetChildLayoutXML(value);
    else
        CContainerUI::SetAttribute(name, value);
}

} // namespace SkinUI
