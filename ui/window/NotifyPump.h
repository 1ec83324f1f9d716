// Notification maps: static, inheritable tables that route a notification type
// (and optionally a control name) to a member function of a window class.
#pragma once

#include "core/SkinString.h"
#include "core/StdStringPtrMap.h"
#include "window/NotifyUI.h"

namespace SkinUI {

class CNotifyPump;

// How a map entry's handler is called.
enum SkinNotifySignature : unsigned {
    SkinSig_end = 0, ///< terminator entry
    SkinSig_lwl = 1, ///< LRESULT handler(WPARAM, LPARAM)
    SkinSig_vn = 2,  ///< void handler(TNotifyUI&)
};

using SkinParamHandler = LRESULT (CNotifyPump::*)(WPARAM, LPARAM);
using SkinNotifyHandler = void (CNotifyPump::*)(TNotifyUI&);

struct SKIN_MSGMAP_ENTRY {
    CSkinString type;                ///< notification type, compared exactly
    CSkinString controlName;         ///< empty: any sender
    unsigned signature;              ///< SkinNotifySignature
    SkinParamHandler paramHandler;   ///< for SkinSig_lwl
    SkinNotifyHandler notifyHandler; ///< for SkinSig_vn
};

struct SKIN_MSGMAP {
    const SKIN_MSGMAP* (*getBaseMap)(); ///< null at the root of the chain
    const SKIN_MSGMAP_ENTRY* entries;   ///< ended by a SkinSig_end entry
};

class CNotifyPump {
public:
    CNotifyPump();
    CNotifyPump(const CNotifyPump& other);
    CNotifyPump& operator=(const CNotifyPump& other);
    virtual ~CNotifyPump() = default;

    /// Registers a pump that handles notifications of controls whose virtual
    /// window is name (case-insensitively); false if the name is taken.
    bool AddVirtualWnd(CSkinString name, CNotifyPump* pump);
    bool RemoveVirtualWnd(CSkinString name);

    /// Offers msg to the virtual window it names, then to this pump's maps.
    void NotifyPump(TNotifyUI& msg);
    /// Calls the first matching handler along the map chain; true if one ran.
    bool LoopDispatch(TNotifyUI& msg);

    virtual const SKIN_MSGMAP* GetMessageMap() const;
    static const SKIN_MSGMAP* _GetBaseMessageMap();

protected:
    static const SKIN_MSGMAP messageMap;

private:
    static const SKIN_MSGMAP_ENTRY messageEntries[];
    CStdStringPtrMap m_VirtualWndMap; ///< name -> CNotifyPump*, not owned
};

} // namespace SkinUI

// Declares a class's own map; put it in the class body.
#define SKIN_DECLARE_MESSAGE_MAP()                                                                 \
private:                                                                                           \
    static const SkinUI::SKIN_MSGMAP_ENTRY messageEntries[];                                       \
                                                                                                   \
protected:                                                                                         \
    static const SkinUI::SKIN_MSGMAP messageMap;                                                   \
    static const SkinUI::SKIN_MSGMAP* _GetBaseMessageMap();                                        \
                                                                                                   \
public:                                                                                            \
    const SkinUI::SKIN_MSGMAP* GetMessageMap() const override;                                     \
                                                                                                   \
private:

// Defines the map of theClass, chained to the map of baseClass.
#define SKIN_BEGIN_MESSAGE_MAP(theClass, baseClass)                                                \
    const SkinUI::SKIN_MSGMAP* theClass::_GetBaseMessageMap() {                                    \
        return &baseClass::messageMap;                                                             \
    }                                                                                              \
    const SkinUI::SKIN_MSGMAP* theClass::GetMessageMap() const {                                   \
        return &theClass::messageMap;                                                              \
    }                                                                                              \
    const SkinUI::SKIN_MSGMAP theClass::messageMap = {&theClass::_GetBaseMessageMap,               \
                                                      &theClass::messageEntries[0]};               \
    const SkinUI::SKIN_MSGMAP_ENTRY theClass::messageEntries[] = {

// type: handler(TNotifyUI&) for any sender.
#define SKIN_ON_NOTIFY(type, theClass, handler)                                                    \
    {type, L"", SkinUI::SkinSig_vn, nullptr,                                                       \
     static_cast<SkinUI::SkinNotifyHandler>(&theClass::handler)},

// type from the control named name: handler(TNotifyUI&).
#define SKIN_ON_NOTIFY_CTRLNAME(type, name, theClass, handler)                                     \
    {type, name, SkinUI::SkinSig_vn, nullptr,                                                      \
     static_cast<SkinUI::SkinNotifyHandler>(&theClass::handler)},

// type: LRESULT handler(WPARAM, LPARAM) for any sender.
#define SKIN_ON_NOTIFY_PARAMS(type, theClass, handler)                                             \
    {type, L"", SkinUI::SkinSig_lwl, static_cast<SkinUI::SkinParamHandler>(&theClass::handler),    \
     nullptr},

#define SKIN_END_MESSAGE_MAP()                                                                     \
    { L"", L"", SkinUI::SkinSig_end, nullptr, nullptr }                                            \
    }                                                                                              \
    ;
