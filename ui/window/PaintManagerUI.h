// The per-window paint manager: the process-wide module state (instance, skin resource
// sources, control plug-ins), and each window's message routing, input, focus, timers
// and notifications for the control tree it owns.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "core/SkinString.h"
#include "core/StdPtrArray.h"
#include "core/StdStringPtrMap.h"
#include "window/EventUI.h"
#include "window/MessageFilterUI.h"
#include "window/NotifyUI.h"
#include "window/TranslateAccelerator.h"

namespace SkinUI {

// Where skin files come from.
enum UILIB_RESOURCETYPE {
    UILIB_FROM_FILE = 1,        // plain files under the skin directory
    UILIB_FROM_ZIP = 2,         // a zip archive file in the skin directory, kept open
    UILIB_FROM_RESOURCE = 3,    // "xml" resources of the resource module, by decimal id
    UILIB_FROM_ZIPRESOURCE = 4, // a zip archive stored as a "ZIPRES" resource, kept open in memory
};

class CControlUI;

// A plug-in's control factory: a new control for a class name, or null.
using LPCREATECONTROL = CControlUI* (*)(const wchar_t* className);

class CPaintManagerUI {
public:
    // ---- Module state: instance, skin resource sources, plug-ins (PaintManagerResources.cpp)

    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    /// Folder of the instance's module file, with its trailing back-slash; empty without
    /// an instance.
    static CSkinString GetInstancePath();
    /// The process's current directory.
    static CSkinString GetCurrentPath();
    static void SetCurrentPath(const wchar_t* path);
    static void SetResourceDll(HINSTANCE instance);
    /// The module holding skin resources: the resource module, else the instance.
    static HINSTANCE GetResourceDll();
    /// Skin folder; a back-slash is appended unless it is empty or ends in a separator.
    static void SetResourcePath(const wchar_t* path);
    static const CSkinString& GetResourcePath();
    /// Selects a zip archive file under the skin folder (empty: plain files). A cached
    /// archive is opened now, from the current skin folder, and kept open.
    static void SetResourceZip(const wchar_t* zipName, bool cached = false);
    /// Selects an archive held in memory (not copied; must outlive its use) under the
    /// name "membuffer". The first memory archive stays in force.
    static void SetResourceZip(const void* data, unsigned int length);
    static const CSkinString& GetResourceZip();
    static bool IsCachedResourceZip();
    /// The open archive (a `CZipArchive*`) while cached, else null.
    static void* GetResourceZipHandle();
    /// Loads a plug-in module and registers its "CreateControl" factory once; false for a
    /// null name, a module that does not load or one without the export.
    static bool LoadPlugin(const wchar_t* moduleName);
    /// The registered factories (`LPCREATECONTROL`), in registration order.
    static CStdPtrArray* GetPlugins();

private:
    static HINSTANCE m_hInstance;          ///< Application module.
    static HINSTANCE m_hResourceInstance;  ///< Module holding skin resources, or null.
    static CSkinString m_pStrResourcePath; ///< Skin folder, empty or ending in a separator.
    static CSkinString m_pStrResourceZip;  ///< Archive name, "membuffer", or empty.
    static bool m_bCachedResourceZip;      ///< The archive stays open in m_hResourceZip.
    static void* m_hResourceZip;           ///< The cached `CZipArchive`, or null.
    static CStdPtrArray m_aPlugins;        ///< Registered `LPCREATECONTROL` factories.

    // ---- End of module state

public:
    // ---- Messages, input and notifications (PaintManagerUI.cpp)

    CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
    /// Deletes the tree and every control waiting for deletion, frees timers and queued
    /// notifications, and leaves the list of managers.
    ~CPaintManagerUI();

    /// Binds the window, takes its DC and joins the process-wide list of managers.
    void Init(HWND hWnd);
    HWND GetPaintWindow() const;
    HDC GetPaintDC() const;
    CControlUI* GetRoot() const;
    CControlUI* GetFocus() const;
    /// The tool tip window, once a tool tip was shown.
    HWND GetTooltipWindow() const;
    /// Last mouse position in client coordinates; (-1, -1) before the first.
    POINT GetMousePos() const;
    bool IsCaptured() const;

    /// Turns a window message into control events; true when consumed, with result set.
    bool MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    /// Sees queued messages before dispatch: pre-message filters, Tab, shortcuts.
    bool PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    /// Offers the message to the accelerator translators; true when one consumed it.
    bool TranslateAcceleratorW(MSG* msg);
    /// Runs the thread's message loop until WM_QUIT.
    static void MessageLoop();
    /// Offers a queued message to the managers of its window and their ancestors
    /// (accelerators, shortcuts, Tab), each at most once; true when one consumed it.
    static bool TranslateMessage(const LPMSG msg);

    /// Installs a control tree; the previous tree is deleted on WM_APP + 1.
    bool AttachDialog(CControlUI* root);
    /// Attaches a subtree to this manager and enters its named controls.
    bool InitControls(CControlUI* control, CControlUI* parent = nullptr);
    /// Forgets every reference to a control that is going away.
    void ReapObjects(CControlUI* control);
    /// Detaches a control and deletes it when the posted WM_APP + 1 arrives.
    void AddDelayedCleanup(CControlUI* control);

    /// Moves the keyboard focus to a control of this manager (null: none).
    void SetFocus(CControlUI* control);
    /// Focuses a control after the next layout pass.
    void SetFocusNeeded(CControlUI* control);
    /// Moves the focus to the next or previous tab stop, wrapping around.
    bool SetNextTabControl(bool forward = true);

    void SetCapture();
    void ReleaseCapture();

    /// Starts a timer for (control, key); false if it is running or cannot start.
    bool SetTimer(CControlUI* control, UINT key, UINT elapse);
    /// Stops a timer, keeping its record for reuse; false if none is running.
    bool KillTimer(CControlUI* control, UINT key);
    /// Stops and forgets every timer of a control.
    void KillTimer(CControlUI* control);
    void RemoveAllTimers();

    /// Delivers a notification now, or with the next message of this window.
    void SendNotify(TNotifyUI& msg, bool async = false);
    void SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool async = false);

    // Listener lists; they never own their entries. Add appends (a listener added twice is
    // called twice); Remove takes the first occurrence away.
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    bool AddPreMessageFilter(IMessageFilterUI* filter);
    bool RemovePreMessageFilter(IMessageFilterUI* filter);
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);
    bool AddTranslateAccelerator(ITranslateAccelerator* translator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* translator);
    /// Controls painted after the tree.
    bool AddPostPaint(CControlUI* control);
    bool RemovePostPaint(CControlUI* control);
    int GetPostPaintCount() const;
    /// Moves a post-paint control to another place in the list.
    bool SetPostPaintIndex(CControlUI* control, int index);

    /// Adds a control to an option group; false if it is already there.
    bool AddOptionGroup(const wchar_t* group, CControlUI* control);
    /// The controls of a group, or null.
    CStdPtrArray* GetOptionGroup(const wchar_t* group);
    void RemoveOptionGroup(const wchar_t* group, CControlUI* control);
    void RemoveAllOptionGroups();

    /// Set once a control names a virtual window: notifications then carry it.
    void UsedVirtualWnd(bool used);

    /// The control registered under a name.
    CControlUI* FindControl(const wchar_t* name);
    /// The topmost visible, mouse-enabled control at a client point.
    CControlUI* FindControl(POINT point) const;
    /// First control under parent (the root when null) whose name matches ignoring case.
    CControlUI* FindSubControlByName(CControlUI* parent, const wchar_t* name) const;
    CControlUI* FindSubControlByPoint(CControlUI* parent, POINT point) const;
    /// The index-th control (from 0) under parent of a class ("*": any class).
    CControlUI* FindSubControlByClass(CControlUI* parent, const wchar_t* className, int index = 0);
    /// Every control under parent of a class; the list lives until the next class search.
    CStdPtrArray* FindSubControlsByClass(CControlUI* parent, const wchar_t* className);
    CStdPtrArray* GetSubControlsByClass();

    /// Repaints a client rectangle.
    void Invalidate(RECT& rect);
    // Shared with the painting half, which builds on them: the pending layout pass and the
    // window size limits that the skin sets.

    /// Asks for a layout pass at the next paint.
    void NeedUpdate();
    /// Window size limits applied on WM_GETMINMAXINFO; a value of 0 or less is no limit.
    SIZE GetMinInfo() const;
    void SetMinInfo(int cx, int cy);
    SIZE GetMaxInfo() const;
    void SetMaxInfo(int cx, int cy);

    // Tree-walk callbacks (data as noted).
    /// Enters named controls into the name map of the manager in data.
    static CControlUI* __FindControlFromNameHash(CControlUI* control, void* data);
    /// Counts visited controls into the int in data; never stops the walk.
    static CControlUI* __FindControlFromCount(CControlUI* control, void* data);
    static CControlUI* __FindControlFromPoint(CControlUI* control, void* data);
    static CControlUI* __FindControlFromTab(CControlUI* control, void* data);
    static CControlUI* __FindControlFromShortcut(CControlUI* control, void* data);
    static CControlUI* __FindControlFromUpdate(CControlUI* control, void* data);
    static CControlUI* __FindControlFromName(CControlUI* control, void* data);
    static CControlUI* __FindControlFromClass(CControlUI* control, void* data);
    static CControlUI* __FindControlsFromClass(CControlUI* control, void* data);

private:
    /// One timer of one control.
    struct TTimerInfo {
        CControlUI* sender;
        UINT localKey;
        HWND window;
        UINT nativeId;
        bool killed;
    };

    /// Hands every queued notification to the sender's OnNotify and the notifiers.
    void DeliverQueuedNotifications();
    /// Delivers one notification to the sender's delegates, then to every notifier.
    void DeliverNotify(TNotifyUI& msg);
    /// Sends an event to a control, stamped with the time.
    void SendEvent(CControlUI* target, TEventUI& event);
    /// The control at a client point, if it belongs to this manager.
    CControlUI* OwnControlAt(POINT point) const;
    /// The next native timer id that no timer record of this window holds; `found` is
    /// false when every id is taken.
    UINT NextTimerId(bool& found);
    /// Places the controls that asked for it and sends "windowinit" after the first pass.
    void LayoutPass();
    /// Fills the tool tip record for a control and shows it at the control.
    void ShowToolTip(CControlUI* control);
    void HideToolTip();
    /// The posted message on which the controls waiting for deletion are deleted.
    static constexpr UINT kDelayedCleanupMessage = WM_APP + 1;

    HWND m_hWndPaint = nullptr;
    HDC m_hDcPaint = nullptr;
    HWND m_hwndTooltip = nullptr;
    TOOLINFOW m_ToolTip{};
    CSkinString m_sToolTipText;    ///< text the tool tip record points at
    CControlUI* m_pRoot = nullptr; ///< owned
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    CControlUI* m_pEventKey = nullptr;
    POINT m_ptLastMousePos{-1, -1};
    UINT m_uTimerID = 0x1000;
    bool m_bFirstLayout = true;
    bool m_bUpdateNeeded = false;
    bool m_bFocusNeeded = false;
    bool m_bMouseTracking = false;
    bool m_bMouseCapture = false;
    bool m_bUsedVirtualWnd = false;
    SIZE m_szMinWindow{};
    SIZE m_szMaxWindow{};
    CStdPtrArray m_aNotifiers;            ///< INotifyUI*, not owned
    CStdPtrArray m_aTimers;               ///< TTimerInfo*, owned
    CStdPtrArray m_aPreMessageFilters;    ///< IMessageFilterUI*, not owned
    CStdPtrArray m_aMessageFilters;       ///< IMessageFilterUI*, not owned
    CStdPtrArray m_aPostPaintControls;    ///< CControlUI*, not owned
    CStdPtrArray m_aDelayedCleanup;       ///< CControlUI*, owned
    CStdPtrArray m_aAsyncNotify;          ///< TNotifyUI*, owned
    CStdPtrArray m_aFoundControls;        ///< CControlUI*, results of class searches
    CStdStringPtrMap m_mNameHash;         ///< name -> CControlUI*
    CStdStringPtrMap m_mOptionGroup;      ///< group -> CStdPtrArray* of controls, owned
    CStdPtrArray m_aTranslateAccelerator; ///< ITranslateAccelerator*, not owned

    static CStdPtrArray m_aPreMessages; ///< every initialised manager, in order of Init

    // ---- End of messages, input and notifications
};

} // namespace SkinUI
