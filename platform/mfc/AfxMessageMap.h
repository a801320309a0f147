#pragma once
// Message maps: a class lists the messages it handles in a static table,
// in order, and a window looks a message up in its own table, then in its
// base class's. Each entry carries a small function that unpacks the
// message's parameters and calls the member handler.

#include <windows.h>

class CCmdTarget;

// Calls the handler of one entry; false asks for the default processing.
using AfxEntryCall = bool (*)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT* result);

struct AFX_MSGMAP_ENTRY {
    UINT message;
    // Notification code and control id of a WM_COMMAND entry.
    UINT code;
    UINT id;
    AfxEntryCall call;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*getBaseMap)();
    const AFX_MSGMAP_ENTRY* entries;
};

// The key the WM_CTLCOLOR* messages share in a message map; the handler
// is told which kind of control asks (CTLCOLOR_EDIT and the like).
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass = theClass;                                                                \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { 0, 0, 0, nullptr }                                                                           \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP map = {&TheBaseClass::GetThisMessageMap, entries};                     \
    return &map;                                                                                   \
    }

#define ON_CONTROL(notifyCode, id, memberFxn)                                                      \
    {WM_COMMAND, static_cast<UINT>(notifyCode), static_cast<UINT>(id),                             \
     [](CCmdTarget* target, UINT, WPARAM, LPARAM, LRESULT*) {                                      \
         static_cast<ThisClass*>(target)->memberFxn();                                             \
         return true;                                                                              \
     }},

#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

#define ON_WM_SYSCOMMAND()                                                                         \
    {WM_SYSCOMMAND, 0, 0, [](CCmdTarget* target, UINT, WPARAM wParam, LPARAM lParam, LRESULT*) {   \
         auto* window = static_cast<ThisClass*>(target);                                           \
         window->OnSysCommand(static_cast<UINT>(wParam), lParam);                                  \
         return !window->TakeDefaultRequest();                                                     \
     }},

#define ON_WM_PAINT()                                                                              \
    {WM_PAINT, 0, 0, [](CCmdTarget* target, UINT, WPARAM, LPARAM, LRESULT*) {                      \
         auto* window = static_cast<ThisClass*>(target);                                           \
         window->OnPaint();                                                                        \
         return !window->TakeDefaultRequest();                                                     \
     }},

#define ON_WM_QUERYDRAGICON()                                                                      \
    {WM_QUERYDRAGICON, 0, 0, [](CCmdTarget* target, UINT, WPARAM, LPARAM, LRESULT* result) {       \
         auto* window = static_cast<ThisClass*>(target);                                           \
         *result = reinterpret_cast<LRESULT>(window->OnQueryDragIcon());                           \
         return !window->TakeDefaultRequest();                                                     \
     }},

#define ON_WM_CTLCOLOR()                                                                           \
    {WM_CTLCOLOR, 0, 0,                                                                            \
     [](CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {         \
         CDC dc(reinterpret_cast<HDC>(wParam));                                                    \
         CWnd control(reinterpret_cast<HWND>(lParam));                                             \
         *result = reinterpret_cast<LRESULT>(static_cast<ThisClass*>(target)->OnCtlColor(          \
             &dc, &control, message - WM_CTLCOLORMSGBOX));                                         \
         return true;                                                                              \
     }},
