// The per-window paint manager: the process-wide module state (instance, skin resource
// sources, control plug-ins), and each window's message routing, input, focus, timers
// and notifications for the control tree it owns, its painting, and the fonts, images,
// default attributes and settings the tree is drawn with.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "core/Handles.h"
#include "core/SkinString.h"
#include "core/StdPtrArray.h"
#include "core/StdStringPtrMap.h"
#include "window/EventUI.h"
#include "window/ListenerList.h"
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
struct TImageInfo;

/// One font of a paint manager; controls address custom fonts by their index.
struct TFontInfo {
    HFONT font = nullptr; ///< owned by the manager
    CSkinString faceName; ///< as given in the skin
    int size = 0;         ///< character height in pixels
    bool bold = false;
    bool underline = false;
    bool italic = false;
    TEXTMETRICW metrics{}; ///< all zero until first measured
};

/// Where the nine pieces of a window shadow go (client coordinates); the middle is the
/// content.
struct TWindowShadowInfo {
    RECT topLeft;
    RECT topRight;
    RECT bottomLeft;
    RECT bottomRight;
    RECT top;
    RECT bottom;
    RECT left;
    RECT right;
};

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
    /// Reloads the cached images of every manager, for a skin whose files changed.
    static void ReloadSkin();

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
    /// True on the thread that bound the window (on any thread before `Init`). A manager
    /// and its tree are used on that thread only; debug builds assert it on every message
    /// and notification.
    bool IsOnOwnThread() const;

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
    /// Child layouts one attached tree builds from their files, at all depths together:
    /// a skin of many layouts that each hold their own file would otherwise multiply the
    /// per-layout bound of nested builds.
    static constexpr int kMaxChildLayoutBuilds = 256;
    /// Counts one child layout build of the attached tree (the count starts again with
    /// each `AttachDialog`); false, with one trace line per tree, once the tree has had
    /// kMaxChildLayoutBuilds.
    bool CountChildLayoutBuild();
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
    // called twice); Remove takes the first occurrence away. A listener may add or remove
    // listeners, itself included, while it is called: every listener present when the walk
    // began and still present is called once; one added meanwhile waits for the next walk.
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
    /// Moves a post-paint control to another place in the list; refused (false) while the
    /// list is being painted.
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
    /// An event stamped with the time; the fields not given are zero.
    static TEventUI MakeEvent(int type, CControlUI* sender, POINT point, WORD keyState = 0,
                              WPARAM wParam = 0, LPARAM lParam = 0);
    /// A keyboard event: no sender, the last mouse position and the live key state.
    TEventUI MakeKeyEvent(int type, wchar_t key) const;
    void SendEvent(CControlUI* target, TEventUI event);
    /// The control at a client point, if it belongs to this manager.
    CControlUI* OwnControlAt(POINT point) const;

    // MessageHandler's share of the messages, by family. Those answering bool consume the
    // message when they return true.
    void DeleteDelayedCleanup();
    /// Native children colour themselves and hear their own notifications and commands.
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ApplySizeLimits(MINMAXINFO* info) const;
    void OnWindowSize();
    void OnTimer(UINT nativeId);
    bool OnMouseHover(POINT point);
    void OnMouseLeave();
    void OnMouseMove(POINT point);
    /// Gives the window the native focus, records the point of a button message and
    /// answers the control of this manager under it.
    CControlUI* PressedControl(LPARAM lParam, POINT& point);
    void OnButtonDown(WPARAM wParam, LPARAM lParam);
    void OnDoubleClick(WPARAM wParam, LPARAM lParam);
    void OnRightButtonDown(WPARAM wParam, LPARAM lParam);
    void OnButtonUp(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnKey(UINT message, wchar_t key);
    /// WM_CLOSE: ends hover, click and focus, and hands the keyboard to the owner.
    void OnClose();
    /// Paints the post-paint controls over the tree.
    void PostPaint(HDC hDC, const RECT& paint);
    /// The next native timer id that no timer record of this window holds; `found` is
    /// false when every id is taken.
    UINT NextTimerId(bool& found);
    /// Places the controls that asked for it and sends "windowinit" after the first pass;
    /// true when the root was placed over the whole client area.
    bool LayoutPass();
    /// Lives through a pass of the manager's own that changes many controls at once (a
    /// layout pass, a tree attached). Nothing validates the window meanwhile, so a
    /// rectangle inside one the pass invalidated already is not invalidated again.
    class CInvalidationBatch {
    public:
        explicit CInvalidationBatch(CPaintManagerUI& manager);
        ~CInvalidationBatch();
        CInvalidationBatch(const CInvalidationBatch&) = delete;
        CInvalidationBatch& operator=(const CInvalidationBatch&) = delete;

    private:
        CPaintManagerUI& m_manager;
    };
    /// Fills the tool tip record for a control and shows it at the control.
    void ShowToolTip(CControlUI* control);
    void HideToolTip();
    /// The posted message on which the controls waiting for deletion are deleted.
    static constexpr UINT kDelayedCleanupMessage = WM_APP + 1;

    HWND m_hWndPaint = nullptr;
    CWindowDC m_paintDC;    ///< the window's own DC, kept for the window's life
    DWORD m_dwThreadId = 0; ///< the thread that bound the window
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
    /// Nesting depth of the passes that change many controls at once (a layout pass, a
    /// tree attached); see `Invalidate`.
    int m_nInvalidationBatches = 0;
    /// The largest rectangle invalidated in the current outermost pass.
    RECT m_rcBatchInvalidated{};
    bool m_bFocusNeeded = false;
    bool m_bMouseTracking = false;
    bool m_bMouseCapture = false;
    bool m_bUsedVirtualWnd = false;
    SIZE m_szMinWindow{};
    SIZE m_szMaxWindow{};
    CListenerList m_aNotifiers;            ///< INotifyUI*, not owned
    CStdPtrArray m_aTimers;                ///< TTimerInfo*, owned
    CListenerList m_aPreMessageFilters;    ///< IMessageFilterUI*, not owned
    CListenerList m_aMessageFilters;       ///< IMessageFilterUI*, not owned
    CListenerList m_aPostPaintControls;    ///< CControlUI*, not owned
    CStdPtrArray m_aDelayedCleanup;        ///< CControlUI*, owned
    CStdPtrArray m_aAsyncNotify;           ///< TNotifyUI*, owned
    CStdPtrArray m_aFoundControls;         ///< CControlUI*, results of class searches
    CStdStringPtrMap m_mNameHash;          ///< name -> CControlUI*
    CStdStringPtrMap m_mOptionGroup;       ///< group -> CStdPtrArray* of controls, owned
    CListenerList m_aTranslateAccelerator; ///< ITranslateAccelerator*, not owned

    static CStdPtrArray m_aPreMessages; ///< every initialised manager, in order of Init

    // ---- End of messages, input and notifications

public:
    // ---- Painting and shared resources (PaintManagerPaint.cpp)

    /// Client width and height of the window.
    SIZE GetClientSize() const;
    /// Window size the skin asks for; before a tree is attached, the window is resized to it.
    SIZE GetInitSize() const;
    void SetInitSize(int cx, int cy);
    /// Widths of the resize borders (left, top, right, bottom) for hit testing.
    const RECT& GetSizeBox() const;
    void SetSizeBox(const RECT& sizeBox);
    /// Caption band for hit testing: left and right are insets from the client edges, top
    /// and bottom distances from the client top.
    const RECT& GetCaptionRect() const;
    void SetCaptionRect(const RECT& caption);
    /// Ellipse size of the window's rounded corners (0 x 0: square).
    SIZE GetRoundCorner() const;
    void SetRoundCorner(int cx, int cy);
    /// Outlines every painted region on the window ("showdirty").
    bool IsShowUpdateRect() const;
    void SetShowUpdateRect(bool show);
    /// Per-pixel alpha: the tree is painted into a 32-bit bitmap pushed to a layered window.
    bool IsAlphaBackground() const;
    void SetBackgroundTransparent(bool transparent);
    /// Opacity of the whole window, 0-255. Out of that range the window stops being
    /// layered. A per-pixel alpha window keeps the value without applying it.
    void SetTransparent(int opacity);
    int GetTransparent() const;

    // Window shadow: a nine-piece image around the content of a per-pixel alpha window.
    bool HasWindowShadow() const;
    void SetHasWindowShadow(bool hasShadow);
    /// Image name of the shadow (a file or archive entry).
    void SetWindowShadowImage(const wchar_t* image);
    const CSkinString& GetWindowShadowImage() const;
    /// Corner pieces in the shadow image, as (x, y, x + cx, y + cy).
    void SetTopleftShadowRect(int x, int y, int cx, int cy);
    void SetToprightShadowRect(int x, int y, int cx, int cy);
    void SetBottomleftShadowRect(int x, int y, int cx, int cy);
    void SetBottomrightShadowRect(int x, int y, int cx, int cy);
    /// Derives the four edge pieces from the corners.
    void CalMiddleShadowRect();
    /// Destinations of the nine pieces over a client rectangle whose left and top are 0.
    void CalRealShadowRect(const RECT& window, TWindowShadowInfo& info) const;
    /// Writes the image string that draws one shadow piece; false (and nothing drawn) when
    /// it does not fit `count` characters, terminator included.
    bool GenerateShadowRenderString(const RECT& source, const RECT& dest, wchar_t* out,
                                    int count) const;
    /// Draws the shadow into the layered bitmap and shrinks `window` to the content.
    void DrawWindowShadow(RECT& window);
    /// The same into another 32-bit surface with alpha (a snapshot of the window).
    void DrawWindowShadow(HDC hDC, RECT& window);

    /// Borrows fonts, images, default attribute lists and colours from another manager;
    /// null detaches. A chain that leads back to this manager is refused.
    bool UseParentResource(CPaintManagerUI* parent);
    CPaintManagerUI* GetParentResource() const;

    // Default colours (0xAARRGGBB); with a parent resource, its colours are answered.
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD color);
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD color);
    DWORD GetDefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD color);
    DWORD GetDefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD color);
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD color);

    // Fonts. Custom fonts are addressed by their index; sizes are pixel heights.
    /// Face name of the default font of every manager constructed afterwards.
    static void SetDefaultFontName(const wchar_t* faceName);
    /// Replaces the default font; false (old font kept) when it cannot be made.
    bool SetDefaultFont(const wchar_t* faceName, int size, bool bold, bool underline, bool italic);
    /// The parent resource's default font, else this manager's, measured.
    TFontInfo* GetDefaultFontInfo();
    /// Appends a custom font; null when it cannot be made.
    HFONT AddFont(const wchar_t* faceName, int size, bool bold, bool underline, bool italic);
    /// Inserts a custom font at an index; null when it cannot be made or placed.
    HFONT AddFontAt(int index, const wchar_t* faceName, int size, bool bold, bool underline,
                    bool italic);
    /// The custom font at an index; the default font outside the list.
    HFONT GetFont(int index);
    /// The first custom font that matches exactly, else the parent resource's, else null.
    HFONT GetFont(const wchar_t* faceName, int size, bool bold, bool underline, bool italic);
    /// Whether this manager or its parent resource holds the font.
    bool FindFont(HFONT font);
    bool FindFont(const wchar_t* faceName, int size, bool bold, bool underline, bool italic);
    /// Index in this manager's own list, -1 if absent.
    int GetFontIndex(HFONT font);
    int GetFontIndex(const wchar_t* faceName, int size, bool bold, bool underline, bool italic);
    /// The record at an index, measured; the default font's outside the list.
    TFontInfo* GetFontInfo(int index);
    /// The record of a font of this manager or its parent resource, else the default's.
    TFontInfo* GetFontInfo(HFONT font);
    /// Deletes a custom font; later fonts move down one index.
    bool RemoveFont(HFONT font);
    bool RemoveFontAt(int index);
    void RemoveAllFonts();
    int GetCustomFontCount() const;

    /// Most custom fonts, cached images and default attribute lists one manager holds; what
    /// would go beyond is refused, with one trace line per kind until that kind is emptied.
    /// Far beyond any real skin, they keep one hostile skin from filling the process with
    /// GDI objects and the caches with entries each lookup has to pass.
    static constexpr int kMaxCustomFonts = 512;
    static constexpr int kMaxImages = 4096;
    static constexpr int kMaxDefaultAttributeLists = 1024;

    // Images, cached by name and shared by every control of the manager.
    /// Loads and caches an image: a skin file or archive entry by name, or with a `type`
    /// the executable resource whose decimal id the name is. Null when it does not load or
    /// the name is taken. In a per-pixel alpha window the image is drawn with alpha.
    TImageInfo* AddImage(const wchar_t* name, const wchar_t* type = nullptr, DWORD mask = 0);
    /// Caches a bitmap (a 32-bit DIB, premultiplied when `alpha`) under a name. Null for a
    /// null bitmap or an empty size (the bitmap stays the caller's); otherwise the cache
    /// owns the bitmap, and deletes it at once when the name is taken.
    TImageInfo* AddImage(const wchar_t* name, HBITMAP bitmap, int cx, int cy, bool alpha);
    /// A cached image of this manager or its parent resource, or null.
    TImageInfo* GetImage(const wchar_t* name);
    /// A cached image of this manager, loaded and cached on first use.
    TImageInfo* GetImageEx(const wchar_t* name, const wchar_t* type = nullptr, DWORD mask = 0);
    bool RemoveImage(const wchar_t* name);
    void RemoveAllImages();
    /// Loads every cached image again (the records stay where they are) and repaints.
    void ReloadAllImages();

    // Default attribute lists per control class; the first list of a class wins.
    void AddDefaultAttributeList(const wchar_t* controlName, const wchar_t* attributeList);
    /// The list of this manager, else the parent resource's, else null.
    const wchar_t* GetDefaultAttributeList(const wchar_t* controlName);
    bool RemoveDefaultAttributeList(const wchar_t* controlName);
    void RemoveAllDefaultAttributeList();
    /// Class name -> `CSkinString*` attribute list.
    const CStdStringPtrMap& GetDefaultAttribultes() const;

    /// Global hue (0-360), saturation and lightness (0-200) of colours drawn with "colorhsl",
    /// and whether they apply at all (they do until switched off); a change repaints every
    /// window.
    static void SetHSL(bool useHSL, short h, short s, short l);
    static bool IsUseHSL();
    static void GetHSL(short* h, short* s, short* l);
    /// Closes the cached skin archive at the end of the program.
    static void Term();

    /// The 32-bit bitmap of the last per-pixel alpha paint (bottom-up rows), or null.
    HBITMAP GetBackgroundBitmap() const;

private:
    /// The default font and the process-wide drawing state, made by the constructor.
    void InitPaintResources();
    /// Frees fonts, images, attribute lists and the paint buffers (destructor).
    void ReleasePaintResources();
    /// WM_PAINT: lays out and paints the tree, double-buffered or into the layered bitmap.
    void OnPaint();
    void PaintOffscreen();
    void PaintLayered();
    /// WM_PRINTCLIENT: paints the tree, and with PRF_CHILDREN the child windows, into a DC.
    void OnPrintClient(HDC hDC, LPARAM flags);
    /// Frees the buffer of the normal path; it is remade at the client size.
    void DeleteOffscreen();
    void DeleteBackground();
    /// The record of a font, with its text metrics measured if they are still zero.
    TFontInfo* Measured(TFontInfo* info);
    /// The record of a description in this manager's own list, or -1.
    int FindOwnFont(const wchar_t* faceName, int size, bool bold, bool underline,
                    bool italic) const;
    /// A new font record, null when the font cannot be made.
    TFontInfo* MakeFont(const wchar_t* faceName, int size, bool bold, bool underline, bool italic);
    void FreeFont(TFontInfo* info);
    /// Caches a record under a name; false (record untouched) when the name is taken.
    bool CacheImage(const wchar_t* name, TImageInfo* image);

    int m_nOpacity = 255;
    CBitmapDC m_offscreen; ///< the double buffer of the plain paint path
    SIZE m_szOffscreen{};
    CBitmapDC m_background; ///< the 32-bit bitmap of the layered paint path
    DWORD* m_pBackgroundBits = nullptr;
    SIZE m_szBackground{};
    bool m_bShowUpdateRect = false;
    SIZE m_szInitWindowSize{};
    RECT m_rcSizeBox{};
    SIZE m_szRoundCorner{};
    RECT m_rcCaption{};
    bool m_bAlphaBackground = false;
    bool m_bHasShadow = false;
    CPaintManagerUI* m_pParentResourcePM = nullptr;
    DWORD m_dwDefaultDisabledColor = 0xFFA7A6AA;
    DWORD m_dwDefaultFontColor = 0xFF000000;
    DWORD m_dwDefaultLinkFontColor = 0xFF0000FF;
    DWORD m_dwDefaultLinkHoverFontColor = 0xFFD3215F;
    DWORD m_dwDefaultSelectedBkColor = 0xFFBAE4FF;
    TFontInfo m_DefaultFontInfo;
    CStdPtrArray m_aCustomFonts;        ///< TFontInfo*, owned
    CStdStringPtrMap m_mImageHash;      ///< name -> TImageInfo*, owned
    CStdStringPtrMap m_DefaultAttrHash; ///< class name -> CSkinString*, owned
    unsigned m_boundsReported = 0;      ///< kinds whose bound was traced (see ReportBound)
    int m_childLayoutBuilds = 0;        ///< child layouts the attached tree built
    CSkinString m_sShadowImage;
    RECT m_rcShadowTopLeft{};
    RECT m_rcShadowTopRight{};
    RECT m_rcShadowBottomLeft{};
    RECT m_rcShadowBottomRight{};
    RECT m_rcShadowTop{};
    RECT m_rcShadowBottom{};
    RECT m_rcShadowLeft{};
    RECT m_rcShadowRight{};

    static bool m_bUseHSL;
    static short m_H;
    static short m_S;
    static short m_L;
    static CSkinString m_pStrDefaultFontName;
    static HPEN m_hUpdateRectPen; ///< outlines painted regions; made once, kept for the process

    // ---- End of painting and shared resources
};

} // namespace SkinUI
