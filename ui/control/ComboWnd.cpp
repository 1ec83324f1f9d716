#include "control/ComboWnd.h"

#include <algorithm>
#include <cwchar>

#include "control/ButtonUI.h"
#include "control/ComboUI.h"
#include "control/ScrollBarUI.h"
#include "control/VerticalLayoutUI.h"

namespace SkinUI {

namespace {

// Tree-walk callback: the manager in data forgets every control of the walk.
CControlUI* ForgetControl(CControlUI* control, void* data) {
    static_cast<CPaintManagerUI*>(data)->ReapObjects(control);
    return nullptr;
}

} // namespace

const wchar_t* CComboWnd::GetWndClassName() const {
    return L"ComboWnd";
}

bool CComboWnd::Init(CComboUI* owner) {
    if (owner == nullptr || owner->GetManager() == nullptr) return false;
    const HWND ownerWindow = owner->GetManager()->GetPaintWindow();
    if (ownerWindow == nullptr) return false;
    m_pOwner = owner;
    m_iOldSel = owner->GetCurSel();

    // Below the combo, as wide as the combo or the drop box, as high as the visible items
    // (within the drop box height).
    const RECT combo = owner->GetPos();
    const SIZE box = owner->GetDropBoxSize();
    RECT rc{combo.left, combo.bottom, combo.right, combo.bottom};
    if (box.cx > 0) rc.right = rc.left + box.cx;
    const SIZE available{rc.right - rc.left, box.cy};
    long long height = 4;
    for (int i = 0; i < owner->GetCount(); ++i) {
        CControlUI* item = owner->GetItemAt(i);
        if (item->IsVisible()) height += item->EstimateSize(available).cy;
    }
    height = std::max(0LL, std::min<long long>(height, box.cy));
    rc.bottom = rc.top + static_cast<LONG>(height);

    ::MapWindowPoints(ownerWindow, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(ownerWindow, MONITOR_DEFAULTTOPRIMARY), &monitor);
    if (rc.bottom > monitor.rcWork.bottom) {
        // No room below: the list opens upwards from the combo's top.
        POINT top{combo.left, combo.top};
        ::ClientToScreen(ownerWindow, &top);
        rc.bottom = top.y;
        rc.top = rc.bottom - static_cast<LONG>(height);
    }

    if (Create(ownerWindow, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, rc) == nullptr) return false;
    // From here on the window deletes this object when it goes.
    m_bSelfDeleting = true;
    ::ShowWindow(m_hWnd, SW_SHOW);
    // The owner's frame keeps its active look while the list has the focus.
    if (const HWND root = ::GetAncestor(m_hWnd, GA_ROOTOWNER))
        ::SendMessageW(root, WM_NCACTIVATE, TRUE, 0);
    return true;
}

void CComboWnd::OnCreate() {
    m_pm.Init(m_hWnd);
    if (m_pOwner == nullptr) return;
    CPaintManagerUI* ownerManager = m_pOwner->GetManager();
    m_pm.UseParentResource(ownerManager);
    // The layout is attached first, so that its scroll bar takes the skin's defaults.
    m_pLayout = new CVerticalLayoutUI;
    m_pm.AttachDialog(m_pLayout);
    if (const wchar_t* defaults = ownerManager->GetDefaultAttributeList(L"VerticalLayout"))
        m_pLayout->ApplyAttributeList(defaults);
    m_pLayout->SetInset(RECT{1, 1, 1, 1});
    m_pLayout->SetBkColor(0xFFFFFFFF);
    m_pLayout->SetBorderColor(0xFFC6C7D2);
    m_pLayout->SetBorderSize(1);
    // The items stay the combo's: the layout only shows them.
    m_pLayout->SetAutoDestroy(false);
    m_pLayout->EnableScrollBar(true, false);
    m_pLayout->ApplyAttributeList(m_pOwner->GetDropBoxAttributeList());
    for (int i = 0; i < m_pOwner->GetCount(); ++i)
        m_pLayout->Add(m_pOwner->GetItemAt(i));
}

void CComboWnd::GiveItemsBack() {
    if (m_bItemsGiven) return;
    m_bItemsGiven = true;
    if (m_pLayout != nullptr) {
        for (int i = 0; i < m_pLayout->GetCount(); ++i)
            m_pLayout->GetItemAt(i)->FindControl(ForgetControl, &m_pm, UIFIND_ALL);
        m_pLayout->RemoveAll();
    }
    if (m_pOwner != nullptr) m_pOwner->TakeItemsBack();
}

void CComboWnd::ForgetItem(CControlUI* item) {
    if (m_bItemsGiven || m_pLayout == nullptr || item == nullptr) return;
    if (m_pLayout->GetItemIndex(item) < 0) return;
    item->FindControl(ForgetControl, &m_pm, UIFIND_ALL);
    m_pLayout->Remove(item);
}

void CComboWnd::OwnerGone() {
    GiveItemsBack();
    m_pOwner = nullptr;
    // Hidden now, destroyed from the queue: this may run inside one of the window's own
    // messages.
    if (::IsWindow(m_hWnd)) {
        ::ShowWindow(m_hWnd, SW_HIDE);
        Close();
    }
}

void CComboWnd::Scroll(int dx, int dy) {
    if (m_pLayout == nullptr || (dx == 0 && dy == 0)) return;
    SIZE pos = m_pLayout->GetScrollPos();
    pos.cx += dx;
    pos.cy += dy;
    m_pLayout->SetScrollPos(pos);
}

void CComboWnd::EnsureVisible(int index) {
    if (m_pOwner == nullptr || m_pLayout == nullptr || index < 0) return;
    CControlUI* item = m_pOwner->GetItemAt(index);
    if (item == nullptr) return;
    const RECT place = item->GetPos();
    RECT area = m_pLayout->GetPos();
    if (CScrollBarUI* bar = m_pLayout->GetHorizontalScrollBar()) {
        if (bar->IsVisible()) area.bottom -= bar->GetFixedHeight();
    }
    if (place.top < area.top)
        Scroll(0, place.top - area.top);
    else if (place.bottom > area.bottom)
        Scroll(0, place.bottom - area.bottom);
}

void CComboWnd::OnKeyDown(WPARAM key) {
    if (m_pOwner == nullptr) return;
    switch (key) {
    case VK_ESCAPE:
        m_pOwner->SelectItem(m_iOldSel, true);
        EnsureVisible(m_iOldSel);
        PostMessageW(WM_KILLFOCUS);
        break;
    case VK_RETURN:
        PostMessageW(WM_KILLFOCUS);
        break;
    default: {
        TEventUI event;
        event.type = UIEVENT_KEYDOWN;
        event.key = static_cast<wchar_t>(key);
        event.timestamp = ::GetTickCount();
        m_pOwner->DoEvent(event);
        if (m_pOwner != nullptr) EnsureVisible(m_pOwner->GetCurSel());
        break;
    }
    }
}

LRESULT CComboWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_CLOSE:
        // The manager lets go of hover, press and focus while the items are still here;
        // then they go back, and the combo takes the focus.
        m_pm.MessageHandler(message, wParam, lParam, result);
        GiveItemsBack();
        if (m_pOwner != nullptr) {
            m_pOwner->SetPos(m_pOwner->GetPos());
            m_pOwner->SetFocus();
        }
        return CWindowWnd::HandleMessage(message, wParam, lParam);
    case WM_DESTROY:
        // Destroyed without closing (with its owner window, say): the items still go back.
        GiveItemsBack();
        break;
    case WM_LBUTTONUP: {
        // A click that ends on an item (not on the scroll bar) closes the list.
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        CControlUI* control = m_pm.FindControl(point);
        if (control != nullptr && wcscmp(control->GetClass(), L"ScrollBarUI") != 0)
            PostMessageW(WM_KILLFOCUS);
        break;
    }
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        if (m_pOwner != nullptr) {
            TEventUI event;
            event.type = UIEVENT_SCROLLWHEEL;
            event.wParam =
                MAKEWPARAM(GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? SB_LINEDOWN : SB_LINEUP, 0);
            event.lParam = lParam;
            event.timestamp = ::GetTickCount();
            m_pOwner->DoEvent(event);
            if (m_pOwner != nullptr) EnsureVisible(m_pOwner->GetCurSel());
        }
        return 0;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) != m_hWnd) PostMessageW(WM_CLOSE);
        break;
    default:
        break;
    }
    if (m_pm.MessageHandler(message, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CComboWnd::OnFinalMessage(HWND) {
    if (CComboUI* owner = m_pOwner) {
        m_pOwner = nullptr;
        if (owner->m_pWindow == this) owner->m_pWindow = nullptr;
        owner->m_uButtonState &= ~UISTATE_PUSHED;
        owner->Invalidate();
    }
    if (m_bSelfDeleting) delete this;
}

} // namespace SkinUI
