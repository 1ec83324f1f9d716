#include "window/EventSource.h"

namespace SkinUI {

CEventSource::~CEventSource() {
    for (int i = 0; i < m_aDelegates.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(m_aDelegates[i]);
}

void CEventSource::operator+=(const CDelegateBase& delegate) {
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        auto* stored = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (stored != nullptr && stored->Equals(delegate)) return;
    }
    CDelegateBase* copy = delegate.Clone();
    if (!m_aDelegates.Add(copy)) delete copy;
}

void CEventSource::operator+=(Function function) {
    *this += CDelegateStatic(function);
}

void CEventSource::operator-=(const CDelegateBase& delegate) {
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        auto* stored = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (stored != nullptr && stored->Equals(delegate)) {
            delete stored;
            m_aDelegates.Remove(i);
            return;
        }
    }
}

void CEventSource::operator-=(Function function) {
    *this -= CDelegateStatic(function);
}

CEventSource::operator bool() const {
    return m_aDelegates.GetSize() > 0;
}

bool CEventSource::operator()(void* param) {
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        auto* delegate = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (delegate != nullptr && !(*delegate)(param)) return false;
    }
    return true;
}

} // namespace SkinUI
