#pragma once

#include <windows.h>

#include "framework/windows/Geometry.h"
#include "framework/windows/MessageMap.h"
#include "framework/base/String.h"

class CDataExchange;

// A window object. It either subclasses an existing window (a template's control) or
// creates its own; messages then pass through its message map before the default.
//
// Ownership, kept by every class of the framework:
// - A window the object created (CreateEx, a dialog's Create or DoModal) is owned by it and
//   never outlives it. If the object goes first, its window is detached, then destroyed: the
//   object's handlers do not see the last messages, as its derived parts are already gone.
// - A window the object subclassed (SubclassWindow, DDX_Control) is borrowed: when the object
//   goes, the window gets its own procedure back and stays with its parent.
// - When the window goes first, the object is detached at WM_NCDESTROY, then PostNcDestroy runs.
// So WM_DESTROY handlers run only when the window is destroyed while its object is whole:
// DoModal does so; whoever made a modeless window calls DestroyWindow. An object that has to
// destroy its window itself counts it in TakeLateDestroyCount; the tests that link the check
// of that count fail when one did.
class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd();

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }

    // The object that owns this window, if any.
    static CWnd* FromHandlePermanent(HWND window);
    // How many objects of this thread destroyed their own window in their destructor, when
    // their derived handlers were gone, since the last call.
    static int TakeLateDestroyCount();

    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Creates a window of any class; the object is attached before WM_NCCREATE arrives.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, void* param = nullptr);
    BOOL DestroyWindow();

    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual void PreSubclassWindow() {}
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called by the parent with a notification about this control; true when handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void PostNcDestroy() {}
    virtual void DoDataExchange(CDataExchange*) {}

    // The default processing of the message being handled.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Offers msg to PreTranslateMessage of its window and each parent; true when one took it.
    static BOOL WalkPreTranslateTree(MSG* msg);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
    CString GetWindowText() const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add);
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ScreenToClient(RECT* rect) const;
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, redraw); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL SetWindowPos(HWND after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, flags);
    }
    HICON SetIcon(HICON icon, BOOL bigIcon);
    HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
    void SetFont(HFONT font, BOOL redraw = TRUE) {
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
    }

    // While alive, the next window created on this thread is attached to wnd as it is
    // made, so that the object sees WM_NCCREATE, WM_CREATE and WM_INITDIALOG.
    class CreationScope {
    public:
        explicit CreationScope(CWnd* wnd);
        ~CreationScope();
        CreationScope(const CreationScope&) = delete;
        CreationScope& operator=(const CreationScope&) = delete;
        static void Hook(CWnd* wnd, HWND window);
        // The creation hooks this thread has set and not yet removed.
        static int HooksHeld();

    private:
        CWnd* m_pPreviousCreating;
        HHOOK m_hPreviousHook;
    };

protected:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Routes a message through the map (reflection first); true when a handler took it.
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void Attach(HWND window);

    WNDPROC m_pfnSuper = nullptr;

private:
    bool m_bOwnsWindow = false;

    static BOOL ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL HandleReflection(MessageKind kind, UINT message, UINT code, WPARAM wParam, LPARAM lParam,
                          LRESULT* result);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void Detach();

    struct CurrentMessage {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    } m_current{};
};
