#include "window/NotifyPump.h"

#include "control/ControlUI.h"

namespace SkinUI {

namespace {

constexpr int kVirtualWndBuckets = 83;

// The entry for msg in one map: one for the sender's name wins at once, else
// the last type-only entry.
const SKIN_MSGMAP_ENTRY* FindEntry(const SKIN_MSGMAP& map, const TNotifyUI& msg) {
    const SKIN_MSGMAP_ENTRY* fallback = nullptr;
    for (const SKIN_MSGMAP_ENTRY* entry = map.entries; entry->signature != SkinSig_end; ++entry) {
        if (entry->type != msg.type.GetData()) continue;
        if (entry->controlName.IsEmpty()) {
            fallback = entry;
        } else if (msg.sender != nullptr && entry->controlName == msg.sender->GetName().GetData()) {
            return entry;
        }
    }
    return fallback;
}

} // namespace

const SKIN_MSGMAP_ENTRY CNotifyPump::messageEntries[] = {
    {L"", L"", SkinSig_end, nullptr, nullptr},
};

const SKIN_MSGMAP CNotifyPump::messageMap = {&CNotifyPump::_GetBaseMessageMap,
                                             &CNotifyPump::messageEntries[0]};

const SKIN_MSGMAP* CNotifyPump::_GetBaseMessageMap() {
    return nullptr;
}

const SKIN_MSGMAP* CNotifyPump::GetMessageMap() const {
    return &messageMap;
}

CNotifyPump::CNotifyPump() : m_VirtualWndMap(kVirtualWndBuckets) {}

CNotifyPump::CNotifyPump(const CNotifyPump& other) : m_VirtualWndMap(kVirtualWndBuckets) {
    *this = other;
}

CNotifyPump& CNotifyPump::operator=(const CNotifyPump& other) {
    if (this == &other) return *this;
    m_VirtualWndMap.RemoveAll();
    // Copy the registrations: the pumps are shared, not duplicated.
    auto& source = const_cast<CStdStringPtrMap&>(other.m_VirtualWndMap);
    for (int i = 0; i < source.GetSize(); ++i) {
        const wchar_t* name = source.GetAt(i);
        m_VirtualWndMap.Insert(name, source.Find(name, false));
    }
    return *this;
}

bool CNotifyPump::AddVirtualWnd(CSkinString name, CNotifyPump* pump) {
    if (m_VirtualWndMap.Find(name, true) != nullptr) return false;
    return m_VirtualWndMap.Insert(name, pump);
}

bool CNotifyPump::RemoveVirtualWnd(CSkinString name) {
    return m_VirtualWndMap.Remove(name);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
    for (const SKIN_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->getBaseMap != nullptr ? map->getBaseMap() : nullptr) {
        const SKIN_MSGMAP_ENTRY* entry = FindEntry(*map, msg);
        if (entry == nullptr) continue;
        switch (entry->signature) {
        case SkinSig_lwl:
            (this->*entry->paramHandler)(msg.wParam, msg.lParam);
            return true;
        case SkinSig_vn:
            (this->*entry->notifyHandler)(msg);
            return true;
        default:
            return false;
        }
    }
    return false;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg) {
    if (!msg.virtualWnd.IsEmpty()) {
        for (int i = 0; i < m_VirtualWndMap.GetSize(); ++i) {
            const wchar_t* name = m_VirtualWndMap.GetAt(i);
            if (name == nullptr || msg.virtualWnd.CompareNoCase(name) != 0) continue;
            auto* pump = static_cast<CNotifyPump*>(m_VirtualWndMap.Find(name, false));
            if (pump != nullptr && pump->LoopDispatch(msg)) return;
        }
    }
    LoopDispatch(msg);
}

} // namespace SkinUI
