#include "window/EventSource.h"

namespace SkinUI {

CEventSource::~CEventSource() {
    m_aDelegates.Walk([](void* stored) {
        delete static_cast<CDelegateBase*>(stored);
        return true;
    });
    for (int i = 0; i < m_aRetired.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(m_aRetired[i]);
}

void CEventSource::operator+=(const CDelegateBase& delegate) {
    const bool present = m_aDelegates.FindIf([&delegate](void* stored) {
        return static_cast<CDelegateBase*>(stored)->Equals(delegate);
    }) != nullptr;
    if (present) return;
    CDelegateBase* copy = delegate.Clone();
    if (!m_aDelegates.Add(copy)) delete copy;
}

void CEventSource::operator+=(Function function) {
    *this += CDelegateStatic(function);
}

void CEventSource::operator-=(const CDelegateBase& delegate) {
    auto* stored = static_cast<CDelegateBase*>(m_aDelegates.FindIf([&delegate](void* stored) {
        return static_cast<CDelegateBase*>(stored)->Equals(delegate);
    }));
    if (stored == nullptr) return;
    m_aDelegates.Remove(stored);
    if (!m_aDelegates.IsWalking()) {
        delete stored;
        return;
    }
    // A delegate may remove itself from inside its own call: it is deleted once no call
    // runs any more. Without memory to remember it, it is let go rather than freed while
    // it may still be running.
    m_aRetired.Add(stored);
}

void CEventSource::operator-=(Function function) {
    *this -= CDelegateStatic(function);
}

CEventSource::operator bool() const {
    return !m_aDelegates.IsEmpty();
}

bool CEventSource::operator()(void* param) {
    const bool result = m_aDelegates.Walk(
        [param](void* stored) { return (*static_cast<CDelegateBase*>(stored))(param); });
    DeleteRetired();
    return result;
}

void CEventSource::DeleteRetired() {
    if (m_aDelegates.IsWalking()) return;
    for (int i = 0; i < m_aRetired.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(m_aRetired[i]);
    m_aRetired.Empty();
}

} // namespace SkinUI
