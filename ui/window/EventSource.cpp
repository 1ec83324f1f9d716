#include "window/EventSource.h"

namespace SkinUI {

CEventSource::~CEventSource() {
    for (int i = 0; i < delegates_.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(delegates_[i]);
}

void CEventSource::operator+=(const CDelegateBase& delegate) {
    for (int i = 0; i < delegates_.GetSize(); ++i) {
        auto* stored = static_cast<CDelegateBase*>(delegates_[i]);
        if (stored != nullptr && stored->Equals(delegate)) return;
    }
    CDelegateBase* copy = delegate.Clone();
    if (!delegates_.Add(copy)) delete copy;
}

void CEventSource::operator+=(Function function) { *this += CDelegateStatic(function); }

void CEventSource::operator-=(const CDelegateBase& delegate) {
    for (int i = 0; i < delegates_.GetSize(); ++i) {
        auto* stored = static_cast<CDelegateBase*>(delegates_[i]);
        if (stored != nullptr && stored->Equals(delegate)) {
            delete stored;
            delegates_.Remove(i);
            return;
        }
    }
}

void CEventSource::operator-=(Function function) { *this -= CDelegateStatic(function); }

CEventSource::operator bool() const { return delegates_.GetSize() > 0; }

bool CEventSource::operator()(void* param) {
    for (int i = 0; i < delegates_.GetSize(); ++i) {
        auto* delegate = static_cast<CDelegateBase*>(delegates_[i]);
        if (delegate != nullptr && !(*delegate)(param)) return false;
    }
    return true;
}

} // namespace SkinUI
