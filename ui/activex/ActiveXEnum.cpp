#include "activex/ActiveXEnum.h"

namespace SkinUI {

CActiveXEnum::CActiveXEnum(IUnknown* object) : m_pUnk(object) {}

CActiveXEnum::~CActiveXEnum() = default;

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IEnumUnknown)) return E_NOINTERFACE;
    *object = static_cast<IEnumUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef() {
    return static_cast<ULONG>(++m_dwRef);
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release() {
    const LONG left = --m_dwRef;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CActiveXEnum::Next(ULONG count, IUnknown** objects, ULONG* fetched) {
    if (fetched != nullptr) *fetched = 0;
    if (count == 0) return S_OK;
    if (objects == nullptr) return E_POINTER;
    const ULONG available = m_pUnk ? 1 : 0;
    ULONG given = 0;
    while (given < count && m_iPos < available) {
        m_pUnk.CopyTo(&objects[given]);
        ++given;
        ++m_iPos;
    }
    if (fetched != nullptr) *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG count) {
    // Saturates: a wrapped position would hand the object out again.
    m_iPos = count > ~0UL - m_iPos ? ~0UL : m_iPos + count;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset() {
    m_iPos = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown** copy) {
    if (copy != nullptr) *copy = nullptr;
    return E_NOTIMPL;
}

} // namespace SkinUI
