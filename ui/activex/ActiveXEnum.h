// The container's enumeration of its objects: the one hosted object.
#pragma once

#include <windows.h>

#include <objidl.h>

#include "core/Handles.h"

namespace SkinUI {

class CActiveXEnum final : public IEnumUnknown {
public:
    /// Enumerates the object (nothing when it is null), holding a reference to it.
    explicit CActiveXEnum(IUnknown* object);
    CActiveXEnum(const CActiveXEnum&) = delete;
    CActiveXEnum& operator=(const CActiveXEnum&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IEnumUnknown
    /// Up to count objects from the current position; S_FALSE when fewer were left. The
    /// fetched count may be null.
    STDMETHODIMP Next(ULONG count, IUnknown** objects, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumUnknown** copy) override;

private:
    ~CActiveXEnum();

    LONG m_dwRef = 1;
    CComPtr<IUnknown> m_pUnk; ///< the object, or null
    ULONG m_iPos = 0;         ///< objects passed so far
};

} // namespace SkinUI
