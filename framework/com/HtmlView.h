#pragma once

#include <windows.h>
#include <exdisp.h>

#include "framework/com/Com.h"
#include "framework/com/HtmlViewSite.h"
#include "framework/windows/Wnd.h"

// A child window that hosts the WebBrowser control over its whole client area: the control is
// created, in-place activated and sized with the window, and its events arrive as virtual
// calls (CHtmlViewEvents). Keys typed inside it go to the browser before the windows around it see
// them. Without a browser (creation failed) every request does nothing.
class CHtmlView : public CWnd, public CHtmlViewEvents {
public:
    CHtmlView();
    ~CHtmlView() override;

    // The window, then the browser inside it; FALSE (and no window) when either fails. Only a
    // view that was created goes with its window: after a failure the object is still the
    // caller's.
    // A null class name takes the view's own class; the context is accepted for the usual
    // signature and not used, as there is no document.
    virtual BOOL Create(const char* className, const char* windowName, DWORD style,
                        const RECT& rect, CWnd* parent, UINT id, void* context = nullptr);
    void Navigate(const char* url);
    // A silent browser shows no dialog boxes of its own (script errors).
    void SetSilent(BOOL silent);
    IWebBrowser2* GetBrowser() const { return m_pBrowserApp; }
    // The browser's window inside the view, or null.
    HWND GetBrowserWindow() const;

    const MessageMap* GetMessageMap() const override;
    void PostNcDestroy() override;
    // A key message inside the view: TRUE when the browser's active object took it.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    LRESULT OnSize(WPARAM type, LPARAM size);
    void OnDestroy();
    LRESULT OnMouseActivate(WPARAM topLevel, LPARAM hitTestAndMessage);

private:
    BOOL CreateBrowser();
    void ReleaseBrowser();

    CComPtr<IWebBrowser2> m_pBrowserApp;
    bool m_goesWithWindow = false;
    CComPtr<IOleObject> m_pBrowserObject;
    CHtmlViewSite* m_pSite = nullptr;
    DWORD m_dwEventCookie = 0;
};
