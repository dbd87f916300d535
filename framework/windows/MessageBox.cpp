#include "framework/windows/MessageBox.h"

#include <exception>

#include "framework/windows/AppContext.h"

namespace {

MessageBoxSink g_messageBoxSink;
MessageBeepSink g_messageBeepSink;

} // namespace

MessageBoxSink AfxSetMessageBoxSink(MessageBoxSink sink) {
    MessageBoxSink previous = std::move(g_messageBoxSink);
    g_messageBoxSink = std::move(sink);
    return previous;
}

int AfxMessageBox(const char* text, UINT type) {
    if ((type & MB_ICONMASK) == 0 &&
        ((type & MB_TYPEMASK) == MB_OK || (type & MB_TYPEMASK) == MB_OKCANCEL))
        type |= MB_ICONEXCLAMATION;
    CAppContext* app = AfxGetAppContext();
    const CString caption = app ? app->GetAppName() : CString();
    if (g_messageBoxSink)
        return g_messageBoxSink(text, caption, type);
    const HWND main = app ? app->GetMainWindow() : nullptr;
    const HWND owner = main && ::IsWindow(main) ? ::GetLastActivePopup(main) : nullptr;
    return ::MessageBoxA(owner, text, caption, type);
}

MessageBeepSink AfxSetMessageBeepSink(MessageBeepSink sink) {
    MessageBeepSink previous = std::move(g_messageBeepSink);
    g_messageBeepSink = std::move(sink);
    return previous;
}

void AfxMessageBeep(UINT type) {
    if (g_messageBeepSink)
        g_messageBeepSink(type);
    else
        ::MessageBeep(type);
}

void AfxReportCurrentException() {
    static bool s_bShowing = false;
    if (s_bShowing)
        return;
    CString text = "发生了未知错误。";
    try {
        throw;
    } catch (const CException& error) {
        text = error.GetErrorMessage();
    } catch (const std::exception& error) {
        text = error.what();
    } catch (...) {
    }
    struct Showing {
        Showing() { s_bShowing = true; }
        ~Showing() { s_bShowing = false; }
    } showing;
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}
