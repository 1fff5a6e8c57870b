// Message maps: a table per dialog class from (event, control id) to a member
// handler, chained to the table of the base class. A class declares its table
// with DECLARE_MESSAGE_MAP and defines it between BEGIN_MESSAGE_MAP and
// END_MESSAGE_MAP, one ON_... entry per line. CDialog routes every event
// through FindMessageMapEntry; the first fitting entry, in the most derived
// table first, takes the event.
#pragma once

#include <cstdint>

class CDialog;

// The events a message map routes.
enum class MessageEvent {
    end,         // marks the end of a map
    command,     // WM_COMMAND: a button click (BN_CLICKED) or a command, by id
    close,       // WM_CLOSE: the platform's close request
    destroy,     // WM_DESTROY: the window is being destroyed
    sysCommand,  // WM_SYSCOMMAND: an item of the window menu, by command id
};

using AFX_PMSG = void (CDialog::*)();
using AFX_PMSG_ID = void (CDialog::*)(unsigned id);
using AFX_PMSG_SYS = void (CDialog::*)(unsigned id, std::intptr_t lParam);

// One entry: the event and the id range it applies to, and the handler
// (without arguments, with the control id for ranges, or with the command id
// and the platform's extra value for system commands).
struct MessageMapEntry {
    MessageEvent event;
    int firstId;
    int lastId;
    AFX_PMSG pfn;
    AFX_PMSG_ID pfnId;
    AFX_PMSG_SYS pfnSys;
};

// The entry that ends every table.
inline constexpr MessageMapEntry kMessageMapEnd{MessageEvent::end, 0, 0, nullptr, nullptr, nullptr};

struct MessageMap {
    const MessageMap* (*pfnGetBaseMap)();  // null for the root
    const MessageMapEntry* entries;        // ends with kMessageMapEnd
};

// The entry of `map` or of its base maps that takes `event` for control `id`;
// null when none does.
const MessageMapEntry* FindMessageMapEntry(const MessageMap* map, MessageEvent event, int id);

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const MessageMap* GetThisMessageMap(); \
    const MessageMap* GetMessageMap() const override;

// The table's brackets; the opening one leaves ThisClass and TheBaseClass
// for the entries. Kept as written: a formatter would fold the open brackets.
// clang-format off
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                  \
    const MessageMap* theClass::GetMessageMap() const {         \
        return GetThisMessageMap();                             \
    }                                                           \
    const MessageMap* theClass::GetThisMessageMap() {           \
        using ThisClass = theClass;                             \
        using TheBaseClass = baseClass;                         \
        static const MessageMapEntry messageEntries[] = {
#define END_MESSAGE_MAP()                                       \
            kMessageMapEnd                                      \
        };                                                      \
        static const MessageMap messageMap = {                  \
            &TheBaseClass::GetThisMessageMap, messageEntries};  \
        return &messageMap;                                     \
    }
// clang-format on

// A command or a button click of control `id`: void memberFxn().
#define ON_COMMAND(id, memberFxn)                  \
    {MessageEvent::command,                        \
     (id),                                         \
     (id),                                         \
     static_cast<AFX_PMSG>(&ThisClass::memberFxn), \
     nullptr,                                      \
     nullptr},
#define ON_BN_CLICKED(id, memberFxn) ON_COMMAND(id, memberFxn)
// Clicks of the controls firstId ... lastId: void memberFxn(unsigned id).
#define ON_COMMAND_RANGE(firstId, lastId, memberFxn)  \
    {MessageEvent::command,                           \
     (firstId),                                       \
     (lastId),                                        \
     nullptr,                                         \
     static_cast<AFX_PMSG_ID>(&ThisClass::memberFxn), \
     nullptr},
// The close request: void OnClose(); CDialog::OnClose is the default course.
#define ON_WM_CLOSE() \
    {MessageEvent::close, 0, 0, static_cast<AFX_PMSG>(&ThisClass::OnClose), nullptr, nullptr},
// The destruction of the window: void OnDestroy(); CDialog::OnDestroy first.
#define ON_WM_DESTROY() \
    {MessageEvent::destroy, 0, 0, static_cast<AFX_PMSG>(&ThisClass::OnDestroy), nullptr, nullptr},
// A window-menu command: void OnSysCommand(unsigned id, std::intptr_t lParam);
// CDialog::OnSysCommand is the default handling.
#define ON_WM_SYSCOMMAND()     \
    {MessageEvent::sysCommand, \
     0,                        \
     0xFFFF,                   \
     nullptr,                  \
     nullptr,                  \
     static_cast<AFX_PMSG_SYS>(&ThisClass::OnSysCommand)},
