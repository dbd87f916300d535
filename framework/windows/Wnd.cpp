#include "framework/windows/Wnd.h"

#include <unordered_map>

#include "framework/windows/AppContext.h"
#include "framework/windows/DataExchange.h"
#include "framework/windows/MessageBox.h"
#include "framework/base/Module.h"

namespace {

// Window handles of the UI thread mapped to the objects that own them.
std::unordered_map<HWND, CWnd*>& WindowMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object whose window is being made; the CBT hook attaches it before WM_NCCREATE.
thread_local CWnd* t_pCreating = nullptr;
thread_local HHOOK t_hCreateHook = nullptr;
thread_local int t_nLateDestroys = 0;

bool IsReflectable(UINT message) {
    return message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

} // namespace

CWnd::~CWnd() {
    if (!m_hWnd)
        return;
    const HWND window = m_hWnd;
    const bool owned = m_bOwnsWindow;
    Detach();
    if (owned) {
        ++t_nLateDestroys;
        ::DestroyWindow(window);
    }
}

int CWnd::TakeLateDestroyCount() {
    const int count = t_nLateDestroys;
    t_nLateDestroys = 0;
    return count;
}

CWnd* CWnd::FromHandlePermanent(HWND window) {
    auto found = WindowMap().find(window);
    return found == WindowMap().end() ? nullptr : found->second;
}

void CWnd::Attach(HWND window) {
    m_hWnd = window;
    WindowMap()[window] = this;
}

void CWnd::Detach() {
    if (m_pfnSuper &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) == &StaticWndProc)
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    WindowMap().erase(m_hWnd);
    m_pfnSuper = nullptr;
    m_hWnd = nullptr;
    m_bOwnsWindow = false;
}

BOOL CWnd::SubclassWindow(HWND window) {
    if (!::IsWindow(window) || m_hWnd || FromHandlePermanent(window))
        return FALSE;
    Attach(window);
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

namespace {

thread_local int t_nHooksHeld = 0;

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pCreating) {
        CWnd* creating = t_pCreating;
        t_pCreating = nullptr;
        CWnd::CreationScope::Hook(creating, reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(t_hCreateHook, code, wParam, lParam);
}

} // namespace

// A window made while another is being made (a tooltip made in OnInitDialog) opens a scope
// inside the outer one; each scope removes its own hook and puts back what it found.
CWnd::CreationScope::CreationScope(CWnd* wnd)
    : m_pPreviousCreating(t_pCreating), m_hPreviousHook(t_hCreateHook) {
    t_pCreating = wnd;
    t_hCreateHook = ::SetWindowsHookExA(WH_CBT, &CreationHook, nullptr, ::GetCurrentThreadId());
    if (t_hCreateHook)
        ++t_nHooksHeld;
}

CWnd::CreationScope::~CreationScope() {
    if (t_hCreateHook && ::UnhookWindowsHookEx(t_hCreateHook))
        --t_nHooksHeld;
    t_hCreateHook = m_hPreviousHook;
    t_pCreating = m_pPreviousCreating;
}

int CWnd::CreationScope::HooksHeld() {
    return t_nHooksHeld;
}

void CWnd::CreationScope::Hook(CWnd* wnd, HWND window) {
    wnd->Attach(window);
    wnd->m_bOwnsWindow = true;
    wnd->m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc)));
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id, void* param) {
    if (m_hWnd)
        return FALSE;
    HWND window = nullptr;
    {
        CreationScope scope(this);
        window = ::CreateWindowExA(
            exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
            rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
            (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr,
            AfxGetInstanceHandle(), param);
    }
    if (!window && m_hWnd)
        Detach();
    return window != nullptr;
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(MSG* msg) {
    for (HWND window = msg->hwnd; window; window = ::GetParent(window)) {
        if (CWnd* wnd = FromHandlePermanent(window))
            if (wnd->PreTranslateMessage(msg))
                return TRUE;
        if (!(::GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
            break;
    }
    return FALSE;
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandlePermanent(window);
    if (!wnd)
        return ::DefWindowProcA(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = wnd->Dispatch(message, wParam, lParam);
    } catch (...) {
        // Otherwise the failed paint is asked for again at once, and fails again.
        if (message == WM_PAINT)
            ::ValidateRect(window, nullptr);
        AfxReportCurrentException();
    }
    if (message == WM_NCDESTROY && FromHandlePermanent(window) == wnd) {
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    const CurrentMessage saved = m_current;
    m_current = {message, wParam, lParam};
    struct Restore {
        CWnd* wnd;
        CurrentMessage saved;
        ~Restore() { wnd->m_current = saved; }
    } restore{this, saved};
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnWndMsg(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (IsReflectable(message) && ReflectToChild(message, wParam, lParam, result))
        return TRUE;
    const MessageMap* map = GetMessageMap();
    const MessageEntry* entry = nullptr;
    if (message == WM_COMMAND)
        entry = map->FindControl(MessageKind::Command, HIWORD(wParam), LOWORD(wParam));
    else if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        entry =
            map->FindControl(MessageKind::Notify, header->code, static_cast<UINT>(header->idFrom));
    }
    if (!entry)
        entry = map->FindMessage(MessageKind::Message, message);
    if (!entry && message == WM_COMMAND && !(GetStyle() & WS_CHILD)) {
        // A command no window took has its last chance in the application's map.
        CAppContext* app = AfxGetAppContext();
        return app && app->OnCmdMsg(LOWORD(wParam), HIWORD(wParam));
    }
    if (!entry)
        return FALSE;
    *result = entry->invoke(this, message, wParam, lParam);
    return TRUE;
}

BOOL CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = nullptr;
    if (message == WM_COMMAND)
        child = reinterpret_cast<HWND>(lParam);
    else if (message == WM_NOTIFY)
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    else if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            child = item->hwndItem;
    } else
        child = reinterpret_cast<HWND>(lParam);
    CWnd* wnd = child ? FromHandlePermanent(child) : nullptr;
    return wnd && wnd->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND)
        return HandleReflection(MessageKind::ReflectCommand, message, HIWORD(wParam), wParam,
                                lParam, result);
    return HandleReflection(MessageKind::ReflectMessage, message, 0, wParam, lParam, result);
}

BOOL CWnd::HandleReflection(MessageKind kind, UINT message, UINT code, WPARAM wParam, LPARAM lParam,
                            LRESULT* result) {
    const MessageMap* map = GetMessageMap();
    const MessageEntry* entry = kind == MessageKind::ReflectMessage
                                    ? map->FindMessage(kind, message)
                                    : map->FindControl(kind, code, 0);
    if (!entry)
        return FALSE;
    *result = entry->invoke(this, message, wParam, lParam);
    if (!entry->passOn)
        return TRUE;
    const BOOL taken = *result != 0;
    *result = 0;
    return taken;
}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

CString CWnd::GetWindowText() const {
    CString text;
    const int length = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer();
    return text;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add) {
    const DWORD style = GetStyle();
    const DWORD changed = (style & ~remove) | add;
    if (style == changed)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
    return TRUE;
}

void CWnd::ScreenToClient(RECT* rect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}
