// A container whose content comes from a separate skin file, built when the layout is
// attached to a window.
#pragma once

#include "control/ContainerUI.h"

namespace SkinUI {

class CChildLayoutUI : public CContainerUI {
public:
    CChildLayoutUI();

    /// "ChildLayoutUI".
    const wchar_t* GetClass() const override;
    /// This layout for "ChildLayout", else as the control base (not as a container).
    void* GetInterface(const wchar_t* name) override;

    /// Builds the skin file into this layout's only child; without a file, nothing.
    void Init() override;

    /// The skin file of the content.
    void SetChildLayoutXML(const CSkinString& file);
    CSkinString GetChildLayoutXML() const;

    /// "xmlfile"; others as the container.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

private:
    CSkinString m_sXMLFile;
};

} // namespace SkinUI
