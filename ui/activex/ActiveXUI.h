// A control that creates an ActiveX object by class id or ProgID and hosts it in place:
// windowless objects draw into the window's paint DC and get their input through the
// control's message filter; windowed ones live in a child host window over the control.
#pragma once

#include <windows.h>

#include <ole2.h>

#include "control/ControlUI.h"
#include "core/Handles.h"
#include "core/SkinString.h"
#include "window/MessageFilterUI.h"

namespace SkinUI {

class CActiveXCtrl;

class CActiveXUI : public CControlUI, public IMessageFilterUI {
    friend class CActiveXCtrl;

public:
    CActiveXUI();
    /// Releases the object (this class's own release: a derived part is already gone).
    ~CActiveXUI() override;

    /// "ActiveXUI".
    const wchar_t* GetClass() const override;
    /// This control for "ActiveX", else the base's answer.
    void* GetInterface(const wchar_t* name) override;

    /// The window the object lives in: the paint window for a windowless object, the
    /// "UIActiveX" child for a windowed one; null while nothing is active.
    HWND GetHostWindow() const;

    /// Whether creation waits for the first SetPos.
    bool IsDelayCreate() const;
    /// Switching the delay off creates a pending object at once.
    void SetDelayCreate(bool delayCreate = true);

    /// Stores the class to create and, without delay, creates it now; false for GUID_NULL
    /// or a failed immediate creation.
    bool CreateControl(const CLSID clsid);
    /// The same from "{class id}" or a ProgID; false when the text does not resolve.
    bool CreateControl(const wchar_t* clsidOrProgId);

    /// An interface of the hosted object: E_POINTER for a null output, E_PENDING while
    /// there is no object.
    HRESULT GetControl(const IID iid, void** ppv);
    /// The class id to create.
    CLSID GetClisd() const;
    /// DLL the class is loaded from instead of the registry; empty for the registry.
    CSkinString GetModuleName() const;
    void SetModuleName(const wchar_t* moduleName);

    /// The base's visibility, then a windowed object's host window shown or hidden with it.
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    /// Places the control (creating a pending object first), then the object over it.
    void SetPos(RECT rect) override;
    /// Draws a windowless object; windowed objects paint themselves.
    void DoPaint(HDC hDC, const RECT& paintRect) override;
    /// "clsid", "modulename" and "delaycreate", then the base's attributes.
    void SetAttribute(const wchar_t* name, const wchar_t* value) override;

    /// Hands window messages to an active windowless object: mouse messages on a hit (or
    /// while it captures), keys while the control has the focus, help and context menus.
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

protected:
    /// Closes and releases the object and the site; the created flag stays set.
    virtual void ReleaseControl();
    /// Creates the stored class, sets it up and activates it in place; false (and nothing
    /// hosted) on any failure.
    virtual bool DoCreateControl();

    CLSID m_clsid;                    ///< object to create
    CSkinString m_sModuleName;        ///< DLL to load the class from instead of the registry
    bool m_bCreated;                  ///< creation attempted since the last CreateControl
    bool m_bDelayCreated;             ///< creation waits for the first SetPos
    CComPtr<IOleObject> m_pUnk;       ///< the hosted object
    CComPtr<CActiveXCtrl> m_pControl; ///< the COM site
    HWND m_hwndHost;                  ///< window the object lives in

private:
    /// Drops a creation that failed half-way, keeping it from being retried by layouts.
    void Abandon();
    /// Creates the object from the module's class factory; null when that cannot be done.
    CComPtr<IUnknown> CreateFromModule();
    /// Whether a mouse message's point meets the object.
    bool HitTest(UINT message, LPARAM lParam) const;
    /// Shows or hides a windowed object's host window with the control.
    void SyncHostVisibility();

    HMODULE m_hModule = nullptr; ///< module the object came from, freed with the object
};

} // namespace SkinUI
