// A button that can be selected: alone it toggles, in a named group of its manager it
// behaves like a radio button. Reports "selectchanged".
#pragma once

#include <windows.h>

#include "control/ButtonUI.h"
#include "core/SkinString.h"

namespace SkinUI {

class COptionUI : public CButtonUI {
public:
    COptionUI();
    /// Leaves the group.
    ~COptionUI() override;

    /// "OptionUI".
    const wchar_t* GetClass() const override;
    /// This option for "Option", else the button's answer.
    void* GetInterface(const wchar_t* name) override;

    /// Attaches like any control. The option is a member of its group in the manager it is
    /// attached to, and of no other manager's group: moving to another manager (or to
    /// none) takes it out of the old one's group.
    void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;

    /// Group name; empty when the option stands alone.
    const CSkinString& GetGroup() const;
    /// Moves the option to another group (null or empty: none).
    void SetGroup(const wchar_t* group);
    bool IsSelected() const;
    /// Selects or deselects. Selecting a grouped option deselects the rest of its group;
    /// "selectchanged" is sent on every change of a lone option and when a grouped one
    /// becomes selected.
    virtual void Selected(bool selected);

    /// After the click: selects a grouped option, toggles a lone one.
    bool Activate() override;
    /// Disabling keeps only the selected bit of the button state.
    void SetEnabled(bool enabled = true) override;

    // Selected look; image setters repaint, colour setters only store.
    const CSkinString& GetSelectedImage() const;
    void SetSelectedImage(const wchar_t* image);
    /// Drawn while selected and hot.
    const CSkinString& GetSelectedHotImage() const;
    void SetSelectedHotImage(const wchar_t* image);
    /// The option's own fore image, drawn over the selected look as well.
    const CSkinString& GetForeImage() const;
    void SetForeImage(const wchar_t* image);
    /// Fills the option while selected when there is no selected image.
    DWORD GetSelectedBkColor() const;
    void SetSelectedBkColor(DWORD color);
    /// Text colour while selected; a stored 0 becomes the manager's default font colour.
    DWORD GetSelectedTextColor();
    void SetSelectedTextColor(DWORD color);

    void SetAttribute(const wchar_t* name, const wchar_t* value) override;
    /// The selected look, else the button's; never a pushed look.
    void PaintStatusImage(HDC hDC) override;
    /// Selected: the text in the selected colour; else the button's text.
    void PaintText(HDC hDC) override;

protected:
    /// Enters the manager's list for the group, when there are both.
    void JoinGroup();
    /// Leaves the manager's list for the group, when there are both.
    void LeaveGroup();

    bool m_bSelected = false;
    CSkinString m_sGroupName;
    DWORD m_dwSelectedBkColor = 0;
    DWORD m_dwSelectedTextColor = 0;
    CSkinString m_sSelectedImage;
    CSkinString m_sSelectedHotImage;
    CSkinString m_sOptionForeImage;
};

} // namespace SkinUI
