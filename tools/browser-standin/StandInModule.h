// Process-wide state of the stand-in DLL: its module handle and the counts
// that decide whether COM may unload it.
#pragma once

#include <windows.h>

class StandInModule {
public:
    // The DLL's module handle (set when the DLL is loaded).
    static HINSTANCE Handle();
    static void SetHandle(HINSTANCE module);

    // Live COM objects of the DLL; each object counts itself in and out.
    static void ObjectCreated();
    static void ObjectDestroyed();
    // IClassFactory::LockServer.
    static void Lock(bool lock);
    // Whether no object is alive and the server is not locked.
    static bool CanUnload();

    // Registers the window class of the browser windows once; false on failure.
    static bool RegisterWindowClass(WNDPROC procedure);
    // Removes the window class again when the DLL is unloaded.
    static void UnregisterWindowClass();

private:
    static HINSTANCE module_;
    static LONG objects_;
    static LONG locks_;
    static bool classRegistered_;
};
