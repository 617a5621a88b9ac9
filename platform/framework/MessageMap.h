#pragma once
// Message maps: a class lists the messages it answers in a static table of
// entries, each naming a member function and how to call it. A window looks
// a message up in its own class's table, then in its base class's, so a
// derived class adds to or overrides what its base answers.
//
//   class CMyDlg : public CDialog {
//       void OnSync();
//       DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_BN_CLICKED(1000, OnSync)
//   END_MESSAGE_MAP()
//
// Notifications a control sends its parent (WM_COMMAND, WM_NOTIFY) are
// first offered to the control's own object as reflected messages
// (ON_CONTROL_REFLECT, ON_NOTIFY_REFLECT), so a control class can handle
// its own notifications; what it leaves goes to the parent's map.
#include <windows.h>

namespace vorlan {

class CWnd;

// How an entry's member function is called.
enum class MessageSignature {
    End,
    Void,            // void ()                    commands, WM_PAINT, WM_DESTROY
    Notify,          // void (NMHDR*, LRESULT*)    WM_NOTIFY and its reflection
    WParamLParam,    // LRESULT (WPARAM, LPARAM)   any message (ON_MESSAGE)
    SysCommand,      // void (UINT, LPARAM)        WM_SYSCOMMAND
    QueryDragIcon,   // HCURSOR ()                 WM_QUERYDRAGICON
    Timer,           // void (UINT_PTR)            WM_TIMER
    CtlColor,        // HBRUSH (HDC, HWND, UINT)   WM_CTLCOLORxxx (kind CTLCOLOR_xxx; nullptr: default)
};

using MessageHandler = void (CWnd::*)();

struct MessageMapEntry {
    UINT message;
    UINT code;       // notification code (WM_COMMAND, WM_NOTIFY)
    UINT firstId;    // control or command id range (WM_COMMAND, WM_NOTIFY)
    UINT lastId;
    MessageSignature signature;
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;
};

// Reflected notifications travel as this base plus the original message.
inline constexpr UINT kReflectBase = 0xBC00;
// The entry that answers every WM_CTLCOLORxxx message (ON_WM_CTLCOLOR).
inline constexpr UINT kCtlColorEntry = 0x0019;

}  // namespace vorlan

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const ::vorlan::MessageMap* GetThisMessageMap();     \
    const ::vorlan::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                              \
    const ::vorlan::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const ::vorlan::MessageMap* theClass::GetThisMessageMap() {                             \
        using ThisClass = theClass;                                                         \
        using TheBaseClass = baseClass;                                                     \
        static const ::vorlan::MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                                   \
    {0, 0, 0, 0, ::vorlan::MessageSignature::End, nullptr}                                  \
    };                                                                                      \
    static const ::vorlan::MessageMap map = {&TheBaseClass::GetThisMessageMap, entries};   \
    return &map;                                                                            \
    }

#define VORLAN_HANDLER(type, fn) \
    reinterpret_cast<::vorlan::MessageHandler>(static_cast<type>(&ThisClass::fn))

#define ON_COMMAND(id, fn) \
    {WM_COMMAND, 0, (id), (id), ::vorlan::MessageSignature::Void, VORLAN_HANDLER(void (::vorlan::CWnd::*)(), fn)},
#define ON_COMMAND_RANGE(firstId, lastId, fn) \
    {WM_COMMAND, 0, (firstId), (lastId), ::vorlan::MessageSignature::Void,  \
     VORLAN_HANDLER(void (::vorlan::CWnd::*)(), fn)},
#define ON_CONTROL(code, id, fn) \
    {WM_COMMAND, (code), (id), (id), ::vorlan::MessageSignature::Void, VORLAN_HANDLER(void (::vorlan::CWnd::*)(), fn)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_NOTIFY(code, id, fn)                                      \
    {WM_NOTIFY, static_cast<UINT>(code), (id), (id), ::vorlan::MessageSignature::Notify, \
     VORLAN_HANDLER(void (::vorlan::CWnd::*)(NMHDR*, LRESULT*), fn)},
#define ON_CONTROL_REFLECT(code, fn)                                                     \
    {::vorlan::kReflectBase + WM_COMMAND, (code), 0, 0, ::vorlan::MessageSignature::Void, \
     VORLAN_HANDLER(void (::vorlan::CWnd::*)(), fn)},
#define ON_NOTIFY_REFLECT(code, fn)                                                                   \
    {::vorlan::kReflectBase + WM_NOTIFY, static_cast<UINT>(code), 0, 0, ::vorlan::MessageSignature::Notify, \
     VORLAN_HANDLER(void (::vorlan::CWnd::*)(NMHDR*, LRESULT*), fn)},
// An owner-drawn control drawing itself: LRESULT fn(WPARAM, LPARAM
// DRAWITEMSTRUCT*), TRUE when drawn.
#define ON_WM_DRAWITEM_REFLECT(fn)                                                        \
    {::vorlan::kReflectBase + WM_DRAWITEM, 0, 0, 0, ::vorlan::MessageSignature::WParamLParam, \
     VORLAN_HANDLER(LRESULT (::vorlan::CWnd::*)(WPARAM, LPARAM), fn)},
#define ON_MESSAGE(message, fn)                                        \
    {(message), 0, 0, 0, ::vorlan::MessageSignature::WParamLParam,     \
     VORLAN_HANDLER(LRESULT (::vorlan::CWnd::*)(WPARAM, LPARAM), fn)},
#define ON_WM_SYSCOMMAND()                                          \
    {WM_SYSCOMMAND, 0, 0, 0, ::vorlan::MessageSignature::SysCommand, \
     VORLAN_HANDLER(void (::vorlan::CWnd::*)(UINT, LPARAM), OnSysCommand)},
#define ON_WM_PAINT() \
    {WM_PAINT, 0, 0, 0, ::vorlan::MessageSignature::Void, VORLAN_HANDLER(void (::vorlan::CWnd::*)(), OnPaint)},
#define ON_WM_DESTROY() \
    {WM_DESTROY, 0, 0, 0, ::vorlan::MessageSignature::Void, VORLAN_HANDLER(void (::vorlan::CWnd::*)(), OnDestroy)},
#define ON_WM_QUERYDRAGICON()                                             \
    {WM_QUERYDRAGICON, 0, 0, 0, ::vorlan::MessageSignature::QueryDragIcon, \
     VORLAN_HANDLER(HCURSOR (::vorlan::CWnd::*)(), OnQueryDragIcon)},
#define ON_WM_CTLCOLOR()                                                        \
    {::vorlan::kCtlColorEntry, 0, 0, 0, ::vorlan::MessageSignature::CtlColor,  \
     VORLAN_HANDLER(HBRUSH (::vorlan::CWnd::*)(HDC, HWND, UINT), OnCtlColor)},
#define ON_WM_TIMER() \
    {WM_TIMER, 0, 0, 0, ::vorlan::MessageSignature::Timer, VORLAN_HANDLER(void (::vorlan::CWnd::*)(UINT_PTR), OnTimer)},
