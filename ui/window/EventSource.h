// A multicast list of delegates: the hooks controls expose (OnInit, OnNotify...).
#pragma once

#include "core/StdPtrArray.h"
#include "window/Delegate.h"
#include "window/ListenerList.h"

namespace SkinUI {

class CEventSource {
public:
    using Function = bool (*)(void*);

    CEventSource() = default;
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;
    ~CEventSource();

    /// Adds a copy of the delegate unless an equal one is already there.
    void operator+=(const CDelegateBase& delegate);
    void operator+=(Function function);
    /// Removes the first equal delegate, if any.
    void operator-=(const CDelegateBase& delegate);
    void operator-=(Function function);

    /// True when at least one delegate is stored.
    explicit operator bool() const;

    /// Calls the delegates in the order they were added until one returns false;
    /// returns false then, true otherwise (also when empty). A delegate may add or remove
    /// delegates, itself included, while it runs: every delegate present when the call
    /// began and still present runs once, and one added meanwhile waits for the next call.
    bool operator()(void* param);

private:
    /// Deletes the delegates removed while a call was under way, once none is.
    void DeleteRetired();

    CListenerList m_aDelegates; ///< owned CDelegateBase clones
    CStdPtrArray m_aRetired;    ///< owned: removed during a call, still maybe running
};

} // namespace SkinUI
