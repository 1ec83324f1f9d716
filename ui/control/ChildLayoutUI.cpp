#include "control/ChildLayoutUI.h"

#include <cwchar>

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
    // TODO(dialog builder): build the file with a local CDialogBuilder (Create with the file
    // name, no resource type, no callback, this layout's manager, no parent) once the
    // builder exists. Until then no content is built, as for a file that cannot be loaded.
    CControlUI* content = nullptr;
    if (content != nullptr)
        Add(content);
    else
        RemoveAll();
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
