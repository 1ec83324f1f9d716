// Small in-process ActiveX objects for the host control's tests: a windowed one that puts
// a child window into the site's window, and a windowless one that draws a colour, hit
// tests and takes window messages. A probe sets how new objects behave and records what
// the container did to them.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <string>
#include <vector>

namespace activextest {

extern const CLSID CLSID_TestWindowed;   // also served by the test module DLL
extern const CLSID CLSID_TestWindowless; // only registered by the test executable

struct TestObjectProbe {
    // How objects created from now on behave.
    bool failActivation = false;  // DoVerb fails without activating
    bool failSetSite = false;     // IObjectWithSite::SetSite(site) fails
    bool failInitNew = false;     // IPersistStreamInit::InitNew fails
    bool viewObjectEx = true;     // answers IViewObjectEx (else only IViewObject2)
    bool hitLeftHalfOnly = false; // QueryHitPoint hits only the left half
    DWORD miscStatus = 0;
    COLORREF fill = RGB(0x20, 0x80, 0xC0);

    // What happened.
    int created = 0;
    std::vector<std::wstring> calls; // container calls in order
    std::vector<UINT> messages;      // windowless window messages
    RECT objectRect{};               // last SetObjectRects position
    SIZEL extent{};                  // last SetExtent
    HWND siteWindow = nullptr;       // the site's window at activation
    HWND window = nullptr;           // a windowed object's own window
    HACCEL accel = nullptr;          // from the last window context
    IOleClientSite* site = nullptr;  // while the object holds it, not AddRef'd

    bool Called(const wchar_t* call) const;
    /// Forgets behaviour and records; the live count stays.
    void Reset();
};

TestObjectProbe& Probe();
/// Objects alive now.
LONG LiveTestObjects();
/// A factory for windowed or windowless objects, with one reference.
IClassFactory* NewTestFactory(bool windowless);

} // namespace activextest
