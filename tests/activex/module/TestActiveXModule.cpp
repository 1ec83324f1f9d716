// A class module for the host control's "modulename": serves the windowed test object and
// may be unloaded once none is alive.
#include "activex/TestActiveX.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (clsid != activextest::CLSID_TestWindowed) return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = activextest::NewTestFactory(false);
    const HRESULT hr = factory->QueryInterface(iid, object);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() {
    return activextest::LiveTestObjects() == 0 ? S_OK : S_FALSE;
}
