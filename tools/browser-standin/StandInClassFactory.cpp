#include "StandInClassFactory.h"

#include "StandInBrowser.h"
#include "StandInModule.h"

StandInClassFactory::StandInClassFactory() {
    StandInModule::ObjectCreated();
}

StandInClassFactory::~StandInClassFactory() {
    StandInModule::ObjectDestroyed();
}

STDMETHODIMP StandInClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) StandInClassFactory::AddRef() {
    return InterlockedIncrement(&references_);
}

STDMETHODIMP_(ULONG) StandInClassFactory::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP StandInClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return StandInBrowser::Create(iid, object);
}

STDMETHODIMP StandInClassFactory::LockServer(BOOL lock) {
    StandInModule::Lock(lock != FALSE);
    return S_OK;
}
