// The open list of a combo: a borderless pop-up under (or above) the combo with a paint
// manager of its own, whose vertical layout shows the combo's items while it is open.
// The items stay the combo's: they are moved into the layout on opening and given back
// before the window goes. The window deletes itself when it is destroyed.
#pragma once

#include <windows.h>

#include "window/PaintManagerUI.h"
#include "window/WindowWnd.h"

namespace SkinUI {

class CComboUI;
class CControlUI;
class CVerticalLayoutUI;

class CComboWnd : public CWindowWnd {
public:
    CComboWnd() = default;

    /// Creates and shows the pop-up for a combo attached to a window; false (nothing
    /// created) without one, or when the window cannot be made.
    bool Init(CComboUI* owner);
    /// Scrolls the list so that an item of the owner is inside it.
    void EnsureVisible(int index);
    /// Scrolls the list by a distance.
    void Scroll(int dx, int dy);

    /// The combo is going away: its items go back to it at once, and the pop-up closes
    /// without touching it again.
    void OwnerGone();
    /// An item leaves the combo while the list is open: the list lets go of it.
    void ForgetItem(CControlUI* item);

    /// Whether the items are still in the list (they go back before the window closes).
    bool HoldsItems() const { return !m_bItemsGiven; }
    CPaintManagerUI& GetManager() { return m_pm; }
    CVerticalLayoutUI* GetLayout() const { return m_pLayout; }

protected:
    /// "ComboWnd".
    const wchar_t* GetWndClassName() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    /// Tells the owner that it is closed, then deletes the object.
    void OnFinalMessage(HWND hWnd) override;

private:
    /// Fills the pop-up's manager with the layout holding the owner's items.
    void OnCreate();
    /// Takes every item out of the layout and out of this manager's memory, and gives it
    /// back to the owner's manager and to the owner (once).
    void GiveItemsBack();
    /// A key while open: Escape restores the first selection, Enter closes, others choose.
    void OnKeyDown(WPARAM key);

    CComboUI* m_pOwner = nullptr; ///< not owned; null once the owner is gone
    CPaintManagerUI m_pm;
    CVerticalLayoutUI* m_pLayout = nullptr; ///< owned by m_pm as its root
    int m_iOldSel = -1;                     ///< the owner's selection at opening
    bool m_bItemsGiven = false;             ///< the items are back with the owner
    bool m_bSelfDeleting = false;           ///< the window exists and deletes this at its end
};

} // namespace SkinUI
