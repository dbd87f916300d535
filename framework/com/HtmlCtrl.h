#pragma once

#include "framework/com/HtmlView.h"

// Sent to the pane's parent on each download begin (0, 0), progress change (progress,
// maximum) and download end (0, 1); both parameters are signed 32-bit.
constexpr UINT WM_HTML_PROGRESS = WM_USER + 101;

// The browser view as a dialog's child control: it takes a template placeholder's place, is a
// member of the dialog rather than a heap object, and reports download progress to its parent.
// It raises no boxes of its own over the dialog, pages that ask for a new window get the
// user's own browser instead, and the pane stays on the web: it goes to http, https, about and
// javascript addresses only, with the browser's security feature controls on for the process.
class CHtmlCtrl : public CHtmlView {
public:
    // Replaces the parent's child with this id by a silent browser, same rectangle, same id.
    // FALSE when the parent has no such child or the view cannot be created (the placeholder
    // is then gone already).
    BOOL CreateFromPlaceholder(UINT id, CWnd* parent);

    const MessageMap* GetMessageMap() const override;
    // The dialog owns the object; it outlives its window.
    void PostNcDestroy() override {}

    void OnProgressChange(long progress, long progressMax) override;
    void OnDownloadBegin() override;
    void OnDownloadComplete() override;
    // Cancelled unless the address is http, https, about or javascript: a page must not take
    // the pane to files, resources or other local schemes (file:, res:, mk:, ...).
    void OnBeforeNavigate2(const char* url, BOOL* cancel) override;
    // Cancelled; an http or https address opens in the user's browser.
    void OnNewWindow3(IDispatch** newBrowser, BOOL* cancel, DWORD flags, const char* urlContext,
                      const char* url) override;

private:
    void NotifyParent(long progress, long progressMax);
    // No frame to activate and no view teardown: the default window processing.
    void OnDestroy();
    LRESULT OnMouseActivate(WPARAM topLevel, LPARAM hitTestAndMessage);
};
