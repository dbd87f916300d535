#pragma once

#include <windows.h>

#include <initializer_list>
#include <type_traits>
#include <vector>

#include "framework/DC.h"
#include "framework/Geometry.h"

class CWnd;

// How an entry is matched: a window message, a command or notification from a child
// control, or a notification that the parent reflected back to the control itself.
enum class MessageKind { Message, Command, Notify, ReflectMessage, ReflectCommand, ReflectNotify };

struct MessageEntry {
    MessageKind kind;
    UINT message; // Message, ReflectMessage
    UINT code;    // Command, Notify and their reflections
    UINT id;      // Command, Notify: the control id
    LRESULT (*invoke)(CWnd* target, UINT message, WPARAM wParam, LPARAM lParam);
};

// A class's table of handlers; entries not found fall through to the base class's table.
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

namespace message_detail {

template <typename F> struct Member;
template <typename C, typename R, typename... A> struct Member<R (C::*)(A...)> { using Class = C; };

template <typename> inline constexpr bool unsupported = false;

// Cracks wParam/lParam into the handler's typed arguments, chosen by its signature.
template <auto Handler> LRESULT Invoke(CWnd* target, UINT message, WPARAM wParam, LPARAM lParam) {
    using F = decltype(Handler);
    using C = typename Member<F>::Class;
    C* self = static_cast<C*>(target);
    if constexpr (std::is_same_v<F, void (C::*)()>) {
        (self->*Handler)();
        return 0;
    } else if constexpr (std::is_same_v<F, LRESULT (C::*)(WPARAM, LPARAM)>) {
        return (self->*Handler)(wParam, lParam);
    } else if constexpr (std::is_same_v<F, HCURSOR (C::*)()>) {
        return reinterpret_cast<LRESULT>((self->*Handler)());
    } else if constexpr (std::is_same_v<F, void (C::*)(UINT, CPoint)>) {
        (self->*Handler)(static_cast<UINT>(wParam), CPoint(lParam));
        return 0;
    } else if constexpr (std::is_same_v<F, BOOL (C::*)(HWND, UINT, UINT)>) {
        return (self->*Handler)(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    } else if constexpr (std::is_same_v<F, int (C::*)(LPCREATESTRUCTA)>) {
        return (self->*Handler)(reinterpret_cast<LPCREATESTRUCTA>(lParam));
    } else if constexpr (std::is_same_v<F, void (C::*)(WINDOWPOS*)>) {
        (self->*Handler)(reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    } else if constexpr (std::is_same_v<F, void (C::*)(NMHDR*, LRESULT*)>) {
        LRESULT result = 0;
        (self->*Handler)(reinterpret_cast<NMHDR*>(lParam), &result);
        return result;
    } else if constexpr (std::is_same_v<F, HBRUSH (C::*)(CDC*, UINT)>) {
        CDC dc(reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<LRESULT>((self->*Handler)(&dc, message - WM_CTLCOLORMSGBOX));
    } else {
        static_assert(unsupported<F>, "handler signature not supported by the message map");
    }
}

} // namespace message_detail

// A window message to this window: WM_PAINT, WM_MOUSEMOVE, a user message, ...
template <auto Handler> MessageEntry OnMessage(UINT message) {
    return {MessageKind::Message, message, 0, 0, &message_detail::Invoke<Handler>};
}

// A WM_COMMAND notification from the child control with this id (BN_CLICKED by default).
template <auto Handler> MessageEntry OnCommand(UINT id, UINT code = BN_CLICKED) {
    return {MessageKind::Command, WM_COMMAND, code, id, &message_detail::Invoke<Handler>};
}

// A WM_NOTIFY notification from the child control with this id.
template <auto Handler> MessageEntry OnNotify(UINT code, UINT id) {
    return {MessageKind::Notify, WM_NOTIFY, code, id, &message_detail::Invoke<Handler>};
}

// The parent's WM_COMMAND notification about this control, handed back to the control.
template <auto Handler> MessageEntry OnReflectCommand(UINT code) {
    return {MessageKind::ReflectCommand, WM_COMMAND, code, 0, &message_detail::Invoke<Handler>};
}

// The parent's WM_NOTIFY notification about this control, handed back to the control.
template <auto Handler> MessageEntry OnReflectNotify(UINT code) {
    return {MessageKind::ReflectNotify, WM_NOTIFY, code, 0, &message_detail::Invoke<Handler>};
}

// A message the parent received about this control (WM_CTLCOLORSTATIC, ...), handed back.
template <auto Handler> MessageEntry OnReflectMessage(UINT message) {
    return {MessageKind::ReflectMessage, message, 0, 0, &message_detail::Invoke<Handler>};
}
