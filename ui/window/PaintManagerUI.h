// The per-window paint manager. This part holds the process-wide module state:
// the application instance, the skin resource sources and the control plug-ins.
#pragma once

#include <windows.h>

#include "core/SkinString.h"
#include "core/StdPtrArray.h"

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
    // Offers a queued message to the managers of its window and their ancestors
    // (accelerators, shortcuts, Tab); true when one consumed it.
    static bool TranslateMessage(const LPMSG msg);
};

} // namespace SkinUI
