#pragma once

#include <windows.h>

#include <initializer_list>
#include <type_traits>
#include <vector>

#include "framework/windows/DC.h"
#include "framework/windows/Geometry.h"

class CCmdTarget;

// How an entry is matched: a window message, a command or notification from a child
// control, or a notification that the parent reflected back to the control itself.
enum class MessageKind { Message, Command, Notify, ReflectMessage, ReflectCommand };

struct MessageEntry {
    MessageKind kind;
    UINT message; // Message, ReflectMessage
    UINT code;    // Command, Notify and their reflections
    UINT id;      // Command, Notify: the control id
    LRESULT (*invoke)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam);
    // A reflection that goes on to the parent's own table when its handler returns FALSE.
    bool passOn = false;
};

// A class's table of handlers; entries not found fall through to the base class's table.
// A notification entry matches both the ANSI and the wide code of its notification.
class MessageMap {
public:
    MessageMap(const MessageMap* base, std::initializer_list<MessageEntry> entries)
        : m_base(base), m_entries(entries) {}

    const MessageEntry* FindMessage(MessageKind kind, UINT message) const;
    const MessageEntry* FindControl(MessageKind kind, UINT code, UINT id) const;

private:
    const MessageMap* m_base;
    std::vector<MessageEntry> m_entries;
};

// What has a message map: windows, and the application for the commands no window took.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    virtual const MessageMap* GetMessageMap() const;
};

// The ANSI code of a common control notification that also comes in a wide form; any other
// code unchanged.
UINT AnsiNotificationCode(UINT code);

namespace message_detail {

template <typename F> struct Member;
template <typename C, typename R, typename... A> struct Member<R (C::*)(A...)> { using Class = C; };

// The handler signatures the map can call, each with its cracker.
enum class Shape {
    Raw,
    None,
    Claim,
    Cursor,
    Point,
    SetCursor,
    Create,
    WindowPos,
    Notify,
    CtlColor
};

template <typename F, typename C = typename Member<F>::Class> constexpr Shape ShapeOf() {
    if constexpr (std::is_same_v<F, void (C::*)()>)
        return Shape::None;
    else if constexpr (std::is_same_v<F, BOOL (C::*)()>)
        return Shape::Claim;
    else if constexpr (std::is_same_v<F, HCURSOR (C::*)()>)
        return Shape::Cursor;
    else if constexpr (std::is_same_v<F, void (C::*)(UINT, CPoint)>)
        return Shape::Point;
    else if constexpr (std::is_same_v<F, BOOL (C::*)(HWND, UINT, UINT)>)
        return Shape::SetCursor;
    else if constexpr (std::is_same_v<F, int (C::*)(LPCREATESTRUCTA)>)
        return Shape::Create;
    else if constexpr (std::is_same_v<F, void (C::*)(WINDOWPOS*)>)
        return Shape::WindowPos;
    else if constexpr (std::is_same_v<F, void (C::*)(NMHDR*, LRESULT*)>)
        return Shape::Notify;
    else if constexpr (std::is_same_v<F, HBRUSH (C::*)(CDC*, UINT)>)
        return Shape::CtlColor;
    else
        return Shape::Raw; // LRESULT (C::*)(WPARAM, LPARAM), and anything else to be rejected
}

// The one signature a handler of this message must have; messages not listed here (user
// messages among them) take the raw LRESULT (WPARAM, LPARAM).
constexpr Shape ShapeForMessage(UINT message) {
    switch (message) {
    case WM_PAINT:
    case WM_DESTROY:
    case WM_MOUSELEAVE:
        return Shape::None;
    case WM_QUERYDRAGICON:
        return Shape::Cursor;
    case WM_MOUSEMOVE:
    case WM_MOUSEHOVER:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return Shape::Point;
    case WM_SETCURSOR:
        return Shape::SetCursor;
    case WM_CREATE:
        return Shape::Create;
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
        return Shape::WindowPos;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return Shape::CtlColor;
    default:
        return Shape::Raw;
    }
}

template <typename F, typename C = typename Member<F>::Class>
inline constexpr bool kIsRaw = std::is_same_v<F, LRESULT (C::*)(WPARAM, LPARAM)>;

// True when F is the handler signature for the message.
template <UINT Message, typename F>
inline constexpr bool kFits = ShapeOf<F>() == ShapeForMessage(Message) &&
                              (ShapeOf<F>() != Shape::Raw || kIsRaw<F>);

// Cracks wParam/lParam into the handler's typed arguments.
template <auto Handler>
LRESULT Invoke(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam) {
    using F = decltype(Handler);
    using C = typename Member<F>::Class;
    C* self = static_cast<C*>(target);
    constexpr Shape shape = ShapeOf<F>();
    if constexpr (shape == Shape::None) {
        (self->*Handler)();
        return 0;
    } else if constexpr (shape == Shape::Claim) {
        return (self->*Handler)();
    } else if constexpr (shape == Shape::Cursor) {
        return reinterpret_cast<LRESULT>((self->*Handler)());
    } else if constexpr (shape == Shape::Point) {
        (self->*Handler)(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    } else if constexpr (shape == Shape::SetCursor) {
        return (self->*Handler)(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    } else if constexpr (shape == Shape::Create) {
        return (self->*Handler)(reinterpret_cast<LPCREATESTRUCTA>(lParam));
    } else if constexpr (shape == Shape::WindowPos) {
        (self->*Handler)(reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    } else if constexpr (shape == Shape::Notify) {
        LRESULT result = 0;
        (self->*Handler)(reinterpret_cast<NMHDR*>(lParam), &result);
        return result;
    } else if constexpr (shape == Shape::CtlColor) {
        CDC dc(reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<LRESULT>((self->*Handler)(&dc, message - WM_CTLCOLORMSGBOX));
    } else {
        return (self->*Handler)(wParam, lParam);
    }
}

template <MessageKind Kind, auto Handler> MessageEntry Entry(UINT message, UINT code, UINT id) {
    return {Kind, message, code, id, &Invoke<Handler>};
}

} // namespace message_detail

// A window message to this window: OnMessage<WM_PAINT, &CMyDialog::OnPaint>(). The handler
// must have the signature that the message is cracked into, or the map does not compile.
template <UINT Message, auto Handler> MessageEntry OnMessage() {
    static_assert(Message != WM_INITDIALOG,
                  "WM_INITDIALOG never reaches the message map: override OnInitDialog instead");
    static_assert(message_detail::kFits<Message, decltype(Handler)>,
                  "handler signature does not fit the message");
    return message_detail::Entry<MessageKind::Message, Handler>(Message, 0, 0);
}

// A WM_COMMAND notification from the child control with this id (BN_CLICKED by default), or
// a command with this id that no window took (to the application's map).
template <auto Handler> MessageEntry OnCommand(UINT id, UINT code = BN_CLICKED) {
    static_assert(message_detail::ShapeOf<decltype(Handler)>() == message_detail::Shape::None,
                  "a command handler takes nothing and returns nothing");
    return message_detail::Entry<MessageKind::Command, Handler>(WM_COMMAND, code, id);
}

// A WM_NOTIFY notification from the child control with this id.
template <auto Handler> MessageEntry OnNotify(UINT code, UINT id) {
    static_assert(message_detail::ShapeOf<decltype(Handler)>() == message_detail::Shape::Notify,
                  "a notification handler is void (NMHDR*, LRESULT*)");
    return message_detail::Entry<MessageKind::Notify, Handler>(WM_NOTIFY, code, id);
}

// The parent's WM_COMMAND notification about this control, handed back to the control.
template <auto Handler> MessageEntry OnReflectCommand(UINT code) {
    static_assert(message_detail::ShapeOf<decltype(Handler)>() == message_detail::Shape::None,
                  "a command handler takes nothing and returns nothing");
    return message_detail::Entry<MessageKind::ReflectCommand, Handler>(WM_COMMAND, code, 0);
}

// As OnReflectCommand, but the handler says whether it took the notification: on FALSE the
// parent's own table gets it too, as it would without the reflection.
template <auto Handler> MessageEntry OnReflectCommandEx(UINT code) {
    static_assert(message_detail::ShapeOf<decltype(Handler)>() == message_detail::Shape::Claim,
                  "a handler that may pass a command on takes nothing and returns BOOL");
    MessageEntry entry =
        message_detail::Entry<MessageKind::ReflectCommand, Handler>(WM_COMMAND, code, 0);
    entry.passOn = true;
    return entry;
}

// A message the parent received about this control (WM_CTLCOLORSTATIC, ...), handed back.
template <UINT Message, auto Handler> MessageEntry OnReflectMessage() {
    static_assert(message_detail::kFits<Message, decltype(Handler)>,
                  "handler signature does not fit the message");
    return message_detail::Entry<MessageKind::ReflectMessage, Handler>(Message, 0, 0);
}
