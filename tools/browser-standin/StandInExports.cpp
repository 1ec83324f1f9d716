// The DLL's entry points: the COM server exports and the registration pair.
#include "StandInClassFactory.h"
#include "StandInModule.h"
#include "StandInRegistration.h"

#include <exdisp.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        StandInModule::SetHandle(module);
        DisableThreadLibraryCalls(module);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded with FreeLibrary (not at process exit): no window is left.
        StandInModule::UnregisterWindowClass();
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (classId != CLSID_WebBrowser) return CLASS_E_CLASSNOTAVAILABLE;
    StandInClassFactory* factory = new StandInClassFactory;
    const HRESULT result = factory->QueryInterface(iid, object);
    factory->Release();
    return result;
}

STDAPI DllCanUnloadNow() {
    return StandInModule::CanUnload() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    return StandInRegistration::Register();
}

STDAPI DllUnregisterServer() {
    return StandInRegistration::Unregister();
}
