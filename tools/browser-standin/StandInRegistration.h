// Registers the stand-in DLL as the in-process server of the system web
// browser's class id, for regsvr32 and the scripts that run the client.
//
// Wine looks the class up in HKEY_CLASSES_ROOT only (a per-user registration
// under HKCU\Software\Classes is not consulted), so the system browser's own
// entry is taken over: its server path and threading model are kept beside
// ours and put back by Unregister.
#pragma once

#include <windows.h>

class StandInRegistration {
public:
    // Points HKCR\CLSID\{browser}\InprocServer32 at this DLL (threading model
    // Apartment), keeping the entry it replaces.
    static HRESULT Register();
    // Puts the replaced entry back, or removes ours when there was none. An
    // entry that no longer names this DLL is left alone.
    static HRESULT Unregister();
};
