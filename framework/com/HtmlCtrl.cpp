// The browser's feature controls came with Internet Explorer 6 for Windows XP SP2.
#undef _WIN32_IE
#define _WIN32_IE 0x0603

#include "framework/com/HtmlCtrl.h"

#include <urlmon.h>

#include <cstring>

#include "framework/base/Shell.h"
#include "framework/ctrl/Static.h"
#include "framework/net/WebAddress.h"

namespace {

// The platform's feature controls for programs that host the browser, on for the whole
// process before the first pane exists. Left out: FEATURE_LOCALMACHINE_LOCKDOWN, which
// cannot be set for a process, and FEATURE_BLOCK_LMZ_SCRIPT, a registry value only; both
// guard pages of the local machine, which the pane never shows (OnBeforeNavigate2).
const INTERNETFEATURELIST kSecurityFeatures[] = {
    FEATURE_OBJECT_CACHING,      // no access to objects cached by another domain
    FEATURE_ZONE_ELEVATION,      // no page-driven move into a more trusted zone
    FEATURE_MIME_HANDLING,       // the type served and the file's extension must agree
    FEATURE_MIME_SNIFFING,       // no file passed off as another type by its content
    FEATURE_WINDOW_RESTRICTIONS, // script windows keep their frame and stay on screen
    FEATURE_WEBOC_POPUPMANAGEMENT,
    FEATURE_DISABLE_MK_PROTOCOL,
    FEATURE_SECURITYBAND, // what is blocked is said in the information bar
    FEATURE_RESTRICT_ACTIVEXINSTALL,
    FEATURE_VALIDATE_NAVIGATE_URL, // malformed addresses are not navigated to
    FEATURE_RESTRICT_FILEDOWNLOAD, // no download the user did not start
    FEATURE_ADDON_MANAGEMENT,      // add-ons the user turned off stay off
    FEATURE_PROTOCOL_LOCKDOWN,
    FEATURE_HTTP_USERNAME_PASSWORD_DISABLE, // no "http://bank@evil/" disguises
    FEATURE_SAFE_BINDTOOBJECT,
    FEATURE_UNC_SAVEDFILECHECK,
    FEATURE_DISABLE_TELNET_PROTOCOL,
    FEATURE_BLOCK_INPUT_PROMPTS, // no script prompt boxes over the dialog
};

void EnableSecurityFeatures() {
    static const bool enabled = [] {
        for (INTERNETFEATURELIST feature : kSecurityFeatures)
            ::CoInternetSetFeatureEnabled(feature, SET_FEATURE_ON_PROCESS, TRUE);
        return true;
    }();
    (void)enabled;
}

bool HasScheme(const char* url, const char* scheme) {
    const size_t length = std::strlen(scheme);
    return ::_strnicmp(url, scheme, length) == 0 && url[length] == ':';
}

} // namespace

BOOL CHtmlCtrl::CreateFromPlaceholder(UINT id, CWnd* parent) {
    RECT rect;
    {
        CStatic placeholder;
        if (!placeholder.SubclassDlgItem(id, parent))
            return FALSE;
        placeholder.GetWindowRect(&rect);
        parent->ScreenToClient(&rect);
        placeholder.DestroyWindow();
    }
    EnableSecurityFeatures();
    if (!Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, parent, id, nullptr))
        return FALSE;
    SetSilent(TRUE);
    return TRUE;
}

const MessageMap* CHtmlCtrl::GetMessageMap() const {
    static const MessageMap map(CHtmlView::GetMessageMap(),
                                {
                                    OnMessage<WM_DESTROY, &CHtmlCtrl::OnDestroy>(),
                                    OnMessage<WM_MOUSEACTIVATE, &CHtmlCtrl::OnMouseActivate>(),
                                });
    return &map;
}

void CHtmlCtrl::NotifyParent(long progress, long progressMax) {
    ::SendMessageA(::GetParent(m_hWnd), WM_HTML_PROGRESS, static_cast<WPARAM>(progress),
                   static_cast<LPARAM>(progressMax));
}

void CHtmlCtrl::OnDownloadBegin() {
    NotifyParent(0, 0);
}

void CHtmlCtrl::OnProgressChange(long progress, long progressMax) {
    NotifyParent(progress, progressMax);
}

void CHtmlCtrl::OnDownloadComplete() {
    NotifyParent(0, 1);
}

void CHtmlCtrl::OnBeforeNavigate2(const char* url, BOOL* cancel) {
    static const char* const kPaneSchemes[] = {"http", "https", "about", "javascript"};
    for (const char* scheme : kPaneSchemes)
        if (url && HasScheme(url, scheme))
            return;
    *cancel = TRUE;
}

void CHtmlCtrl::OnNewWindow3(IDispatch**, BOOL* cancel, DWORD, const char*, const char* url) {
    *cancel = TRUE;
    if (IsWebAddress(url))
        AfxShellExecute(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
}

void CHtmlCtrl::OnDestroy() {
    Default();
}

LRESULT CHtmlCtrl::OnMouseActivate(WPARAM, LPARAM) {
    return Default();
}
