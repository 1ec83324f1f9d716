// A list of listeners that may change while it is being walked: a listener may remove
// itself (or another) from inside its own call.
#pragma once

#include "core/StdPtrArray.h"

namespace SkinUI {

/// Listeners in the order they were added; the list never owns them and keeps duplicates.
/// A walk calls, once each, every listener present when it began and still present when
/// its turn comes; listeners added during a walk wait for the next one. While a walk runs,
/// a removed listener leaves an empty slot so that the others keep their places; the
/// slots close up when the outermost walk ends.
class CListenerList {
public:
    CListenerList() = default;
    CListenerList(const CListenerList&) = delete;
    CListenerList& operator=(const CListenerList&) = delete;

    /// Appends a listener; false (list unchanged) for null or when memory runs out.
    bool Add(void* listener) { return listener != nullptr && m_slots.Add(listener); }

    /// Takes the first occurrence away; false when there is none.
    bool Remove(void* listener) {
        const int slot = listener != nullptr ? m_slots.Find(listener) : -1;
        if (slot < 0) return false;
        Vacate(slot);
        return true;
    }

    /// Takes every listener away.
    void Empty() {
        for (int slot = 0; slot < m_slots.GetSize(); ++slot)
            if (m_slots[slot] != nullptr) Vacate(slot);
    }

    /// Moves a listener to a place among the present ones. False when it is absent, the
    /// place is out of range, or a walk runs (places must not shift under it).
    bool Move(void* listener, int index) {
        const int current = listener != nullptr ? m_slots.Find(listener) : -1;
        if (m_walks > 0 || current < 0 || index < 0 || index >= m_slots.GetSize()) return false;
        m_slots.Remove(current);
        return m_slots.InsertAt(index, listener);
    }

    bool Contains(void* listener) const {
        return listener != nullptr && m_slots.Find(listener) >= 0;
    }
    /// Number of listeners present.
    int GetCount() const { return m_slots.GetSize() - m_vacant; }
    bool IsEmpty() const { return GetCount() == 0; }
    bool IsWalking() const { return m_walks > 0; }

    /// The first present listener for which `match(listener)` holds, or null.
    template <class Match> void* FindIf(Match match) const {
        for (int slot = 0; slot < m_slots.GetSize(); ++slot)
            if (m_slots[slot] != nullptr && match(m_slots[slot])) return m_slots[slot];
        return nullptr;
    }

    /// Calls `visit(listener)` for each listener as described above, in order, until one
    /// returns false; answers false then, true otherwise.
    template <class Visit> bool Walk(Visit visit) {
        WalkScope scope(*this);
        const int count = m_slots.GetSize(); // later additions wait for the next walk
        for (int slot = 0; slot < count; ++slot) {
            void* listener = m_slots.GetAt(slot);
            if (listener != nullptr && !visit(listener)) return false;
        }
        return true;
    }

private:
    // Counts a walk for as long as it runs, however it ends.
    class WalkScope {
    public:
        explicit WalkScope(CListenerList& list) : m_list(list) { ++m_list.m_walks; }
        WalkScope(const WalkScope&) = delete;
        WalkScope& operator=(const WalkScope&) = delete;
        ~WalkScope() {
            if (--m_list.m_walks == 0) m_list.CloseVacantSlots();
        }

    private:
        CListenerList& m_list;
    };

    void Vacate(int slot) {
        if (m_walks == 0) {
            m_slots.Remove(slot);
            return;
        }
        m_slots.SetAt(slot, nullptr);
        ++m_vacant;
    }

    void CloseVacantSlots() {
        for (int slot = m_slots.GetSize() - 1; slot >= 0 && m_vacant > 0; --slot) {
            if (m_slots[slot] != nullptr) continue;
            m_slots.Remove(slot);
            --m_vacant;
        }
    }

    CStdPtrArray m_slots; ///< listeners, and null for those removed during a walk
    int m_walks = 0;      ///< walks under way (a listener may start another)
    int m_vacant = 0;     ///< null slots waiting for the walks to end
};

} // namespace SkinUI
