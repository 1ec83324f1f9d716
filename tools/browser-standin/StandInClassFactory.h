// Class factory of the stand-in browser (the browser's class id only).
#pragma once

#include <windows.h>
#include <unknwn.h>

class StandInClassFactory final : public IClassFactory {
public:
    StandInClassFactory();
    ~StandInClassFactory();
    StandInClassFactory(const StandInClassFactory&) = delete;
    StandInClassFactory& operator=(const StandInClassFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    LONG references_ = 1;
};
