#include "framework/com/HtmlCtrl.h"

#include "framework/base/Shell.h"
#include "framework/ctrl/Static.h"
#include "framework/net/WebAddress.h"

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
