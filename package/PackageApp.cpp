#include "PackageApp.h"

#include <windows.h>
#include <objbase.h>

#include <algorithm>

#include "BrowserEmulation.h"
#include "ConfigDownload.h"
#include "TrackDialog.h"
#include "VendorSite.h"
#include "framework/net/InternetSession.h"
#include "framework/base/Module.h"
#include "framework/net/Socket.h"

namespace {

const char kSettingsSection[] = "Settings";
const char kCompanyEntry[] = "Express Company";
const char kConfigAddress[] = LUMIVANE_VENDOR_ADDRESS "/Package/Application/configs.xml";
constexpr UINT kHttpPort = 80;
// Windows gives up a connection that is never answered after about 21 s, Wine after 134 s.
constexpr DWORD kConnectLimitMs = 5000;

} // namespace

const MessageMap* CPackageApp::GetMessageMap() const {
    static const MessageMap map(CWinApp::GetMessageMap(), {OnCommand<&CWinApp::OnHelp>(ID_HELP)});
    return &map;
}

BOOL CPackageApp::CheckNetwork() {
    AfxSocketInit();
    CSocket socket;
    if (!socket.Create(0, SOCK_STREAM, CAsyncSocket::kAllEvents, nullptr))
        return FALSE;
    const BOOL connected = socket.Connect(LUMIVANE_VENDOR_HOST, kHttpPort, kConnectLimitMs);
    socket.Close();
    return connected;
}

BOOL CPackageApp::InitInstance() {
    AfxEnableControlContainer();
    SetAppName("ruzuviva");
    ::CoInitialize(nullptr);
    if (!CheckNetwork()) {
        AfxMessageBox("网络不可用，包裹查询工具无法登录！", MB_OK);
        ::CoUninitialize();
        return FALSE;
    }
    {
        // No window shows while the list comes: it may take one and a half periods (30 s).
        InternetTransferLimits limits = AfxGetInternetTransferLimits();
        limits.totalMs = std::min(limits.totalMs, limits.periodMs * 3 / 2);
        DownloadConfig(GetAppName(), kConfigAddress, GetModuleDirectory() + kConfigFileName,
                       kMaxConfigBytes, limits);
    }
    SetRegistryKey("Lumivane Software");
    ListForBrowserEmulation(*this);
    {
        // Gone before COM is released: the browser pane lets go of its component here.
        CTrackDialog dialog;
        dialog.m_strCompany = GetProfileString(kSettingsSection, kCompanyEntry, "");
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        WriteProfileString(kSettingsSection, kCompanyEntry, dialog.m_strCompany);
    }
    ::CoUninitialize();
    return FALSE;
}
