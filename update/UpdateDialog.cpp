#include "UpdateDialog.h"

#include <wininet.h>

#include <memory>

#include "framework/App.h"
#include "framework/DataExchange.h"
#include "FileReplace.h"
#include "FileVersionInfo.h"
#include "framework/GdiObject.h"
#include "framework/ImageList.h"
#include "framework/ScopedHandle.h"
#include "framework/Module.h"
#include "ProgramWindows.h"
#include "Sha256.h"
#include "framework/Shell.h"
#include "UpdateItem.h"
#include "UpdateManifest.h"
#include "UpdateRes.h"

namespace {

constexpr int kImagePending = 0;
constexpr int kImageDownloading = 1;
constexpr int kImageReplaced = 2;
constexpr int kImageFailed = 3;

constexpr DWORD kChunkSize = 1024;
constexpr int kMessagesPerChunk = 10;
constexpr DWORD kConnectTimeoutMs = 5000;
constexpr DWORD kTransferTimeoutMs = 20000;
constexpr int kStatusTextLimit = 1023;

struct UrlParts {
    CString server;
    CString object;
    INTERNET_PORT port = 0;
    bool secure = false;
};

bool ParseUrl(const CString& url, UrlParts& parts) {
    char host[INTERNET_MAX_HOST_NAME_LENGTH] = {};
    CString path;
    CString extra;
    URL_COMPONENTSA components{};
    components.dwStructSize = sizeof(components);
    components.lpszHostName = host;
    components.dwHostNameLength = sizeof(host);
    components.lpszUrlPath = path.GetBuffer(url.GetLength() + 1);
    components.dwUrlPathLength = static_cast<DWORD>(url.GetLength() + 1);
    components.lpszExtraInfo = extra.GetBuffer(url.GetLength() + 1);
    components.dwExtraInfoLength = static_cast<DWORD>(url.GetLength() + 1);
    const BOOL cracked = ::InternetCrackUrlA(url, 0, 0, &components);
    path.ReleaseBuffer();
    extra.ReleaseBuffer();
    if (!cracked || host[0] == '\0' ||
        (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS))
        return false;
    parts.server = host;
    parts.object = path.IsEmpty() ? CString("/") + extra : path + extra;
    parts.port = components.nPort;
    parts.secure = components.nScheme == INTERNET_SCHEME_HTTPS;
    return true;
}

CString QueryText(HINTERNET request, DWORD what, bool* present = nullptr) {
    char buffer[256] = {};
    DWORD size = sizeof(buffer);
    const BOOL ok = ::HttpQueryInfoA(request, what, buffer, &size, nullptr);
    if (present)
        *present = ok != FALSE;
    return ok ? CString(buffer) : CString();
}

CString InternetErrorText(DWORD error) {
    char text[kStatusTextLimit + 1] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                         ::GetModuleHandleA("wininet.dll"), error, 0, text, sizeof(text), nullptr);
    CString message(text, static_cast<int>(length));
    if (message.IsEmpty())
        message.Format("无法连接升级服务器（错误 %lu）！", error);
    return message;
}

} // namespace

CUpdateDialog::CUpdateDialog(const char* manifestSource, CWnd* parent)
    : CDialog(IDD_UPDATE, parent), m_strManifestSource(manifestSource),
      m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_UPDATE))) {}

// Destroyed here, not in the base, so that OnDestroy still frees the rows and launches.
CUpdateDialog::~CUpdateDialog() {
    if (m_hWnd)
        DestroyWindow();
}

const MessageMap* CUpdateDialog::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(),
                                {
                                    OnCommand<&CUpdateDialog::OnUpgradeNow>(IDC_BUTTON_UPGRADE_NOW),
                                    OnMessage<&CUpdateDialog::OnPaint>(WM_PAINT),
                                    OnMessage<&CUpdateDialog::OnQueryDragIcon>(WM_QUERYDRAGICON),
                                    OnMessage<&CUpdateDialog::OnDestroy>(WM_DESTROY),
                                    OnCommand<&CUpdateDialog::OnCloseButton>(IDOK),
                                });
    return &map;
}

void CUpdateDialog::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_LIST_FILES, m_listFiles);
    DDX_Control(exchange, IDC_PROGRESS_DOWNLOAD, m_progress);
}

BOOL CUpdateDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, FALSE);
    SetIcon(m_hIcon, TRUE);
    CreateRowImages();
    m_listFiles.InsertColumn(0, "文件名称", LVCFMT_LEFT, 180);
    m_listFiles.InsertColumn(1, "版本", LVCFMT_LEFT, 60);
    m_listFiles.InsertColumn(2, "大小", LVCFMT_LEFT, 60);
    LoadManifest();
    m_progress.SetRange32(0, 100);
    return TRUE;
}

void CUpdateDialog::CreateRowImages() {
    CImageList images;
    CBitmap strip;
    if (!images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4) || !strip.LoadBitmap(IDB_ROW_IMAGES))
        return;
    images.Add(strip, RGB(255, 0, 255));
    m_listFiles.SetImageList(images.Detach(), LVSIL_SMALL);
}

void CUpdateDialog::LoadManifest() {
    UpdateManifest manifest;
    if (manifest.Load(m_strManifestSource) == UpdateManifest::Result::Unreadable)
        return;
    m_strStart = manifest.m_strStart;
    const CString directory = GetModuleDirectory();
    for (size_t i = 0; i < manifest.m_entries.size(); ++i) {
        const ManifestEntry& entry = manifest.m_entries[i];
        if (!IsSafeRelativePath(entry.Name))
            continue;
        FileVersionInfo installed;
        if (!installed.Read(directory + entry.Name) ||
            installed.GetFileVersionText() == entry.Version)
            continue;
        AddRow(static_cast<int>(i), entry);
    }
    if (m_listFiles.GetItemCount() < 1)
        OnOK();
}

void CUpdateDialog::AddRow(int position, const ManifestEntry& entry) {
    auto item = std::make_unique<UpdateItem>();
    item->Name = entry.Name;
    item->Version = entry.Version;
    item->Class = entry.Class;
    item->Length = ParseLength(entry.Length);
    item->URL = entry.URL;
    item->SHA256 = entry.SHA256;
    const int row = m_listFiles.InsertItem(position, item->Name, kImagePending);
    if (row < 0)
        return;
    m_listFiles.SetItemText(row, 1, item->Version);
    m_listFiles.SetItemText(row, 2, FormatSize(static_cast<UINT>(item->Length)));
    m_listFiles.SetItemData(row, reinterpret_cast<DWORD_PTR>(item.release()));
}

void CUpdateDialog::OnUpgradeNow() {
    ::EnableWindow(GetDlgItem(IDC_BUTTON_UPGRADE_NOW), FALSE);
    for (int row = 0; row < m_listFiles.GetItemCount(); ++row) {
        LVITEMA image{};
        image.mask = LVIF_IMAGE;
        image.iItem = row;
        image.iImage = kImageDownloading;
        m_listFiles.SetItem(&image);
        image.iImage = DownloadAndReplace(row) == 1 ? kImageReplaced : kImageFailed;
        m_listFiles.SetItem(&image);
    }
    ::SetWindowTextA(GetDlgItem(IDOK), "完成");
}

int CUpdateDialog::DownloadAndReplace(int row) {
    const auto* item = reinterpret_cast<const UpdateItem*>(m_listFiles.GetItemData(row));
    if (!item || item->URL.IsEmpty())
        return -1;
    CloseProgramWindows(item->Class);
    UrlParts url;
    if (!ParseUrl(item->URL, url))
        return -1;

    CInternetHandle session(::InternetOpenA(AfxGetApp() ? AfxGetApp()->GetAppName() : "update",
                                            INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                         INTERNET_OPTION_SEND_TIMEOUT}) {
        DWORD timeout =
            option == INTERNET_OPTION_CONNECT_TIMEOUT ? kConnectTimeoutMs : kTransferTimeoutMs;
        ::InternetSetOptionA(session, option, &timeout, sizeof(timeout));
    }
    CInternetHandle connection(::InternetConnectA(session, url.server, url.port, nullptr, nullptr,
                                                  INTERNET_SERVICE_HTTP, 0, 1));
    const DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_NO_AUTO_REDIRECT |
                        INTERNET_FLAG_NEED_FILE | (url.secure ? INTERNET_FLAG_SECURE : 0);
    CInternetHandle request(
        ::HttpOpenRequestA(connection, "GET", url.object, nullptr, nullptr, nullptr, flags, 1));
    if (!request || !::HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
        SetStatus(InternetErrorText(::GetLastError()));
        return 0;
    }
    SetStatus(RowStatus::Downloading, *item);

    const CString status = QueryText(request, HTTP_QUERY_STATUS_CODE);
    if (status == "404") {
        SetStatus(RowStatus::NotFound, *item);
        return -1;
    }
    if (!IsSuccessStatus(status)) {
        SetStatus(RowStatus::ServerRefused, *item, status);
        return -1;
    }
    bool hasLength = false;
    const auto declared =
        ParseContentLength(QueryText(request, HTTP_QUERY_CONTENT_LENGTH, &hasLength));

    const CString directory = GetModuleDirectory();
    const CString temporary = directory + "Template\\" + item->Name;
    CHandle file(::CreateFileA(temporary, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        SetStatus(RowStatus::CreateFailed, *item);
        return -1;
    }
    Sha256 digest;
    std::uint64_t received = 0;
    const Transfer transfer = ReceiveBody(request, file, declared.value_or(0), received, digest);
    request.Reset();
    connection.Reset();
    session.Reset();
    file.Reset();

    BYTE hash[32] = {};
    RowStatus failure = RowStatus::Replaced;
    if (transfer == Transfer::WriteFailed)
        failure = RowStatus::WriteFailed;
    else if (transfer == Transfer::ReadFailed ||
             (hasLength && (!declared || received != *declared)))
        failure = RowStatus::Incomplete;
    else if (!item->SHA256.IsEmpty() &&
             (!digest.Finish(hash) || !DigestMatches(item->SHA256, hash)))
        failure = RowStatus::ChecksumMismatch;
    if (failure != RowStatus::Replaced) {
        ::DeleteFileA(temporary);
        SetStatus(failure, *item);
        return -1;
    }
    m_progress.SetPos(100);
    if (!ReplaceFileWhole(temporary, directory + item->Name)) {
        SetStatus(RowStatus::ReplaceFailed, *item);
        return -1;
    }
    SetStatus(RowStatus::Replaced, *item);
    ::DeleteFileA(temporary);
    return 1;
}

CUpdateDialog::Transfer CUpdateDialog::ReceiveBody(HINTERNET request, HANDLE file,
                                                   std::uint64_t total, std::uint64_t& received,
                                                   Sha256& digest) {
    BYTE buffer[kChunkSize] = {};
    for (;;) {
        DWORD count = 0;
        if (!::InternetReadFile(request, buffer, kChunkSize, &count))
            return Transfer::ReadFailed;
        if (count == 0)
            return Transfer::Complete;
        received += count;
        m_progress.SetPos(ProgressPercent(received, total));
        PumpMessages();
        DWORD written = 0;
        if (!::WriteFile(file, buffer, count, &written, nullptr) || written != count)
            return Transfer::WriteFailed;
        digest.Update(buffer, count);
    }
}

// Lets the dialog repaint and answer between chunks of a download on its own thread. An
// empty queue ends the passes early: each pass is a round trip to the window server.
void CUpdateDialog::PumpMessages() {
    for (int i = 0; i < kMessagesPerChunk; ++i) {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            return;
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!WalkPreTranslateTree(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
}

void CUpdateDialog::SetStatus(const CString& text) {
    ::SetWindowTextA(GetDlgItem(IDC_STATIC_STATUS), text.Left(kStatusTextLimit));
}

void CUpdateDialog::SetStatus(RowStatus status, const UpdateItem& item, const char* detail) {
    SetStatus(StatusText(status, item.Name, detail));
}

void CUpdateDialog::OnPaint() {
    if (!PaintMinimizedIcon(m_hIcon))
        Default();
}

HCURSOR CUpdateDialog::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(m_hIcon);
}

void CUpdateDialog::OnCloseButton() {
    OnOK();
}

void CUpdateDialog::OnDestroy() {
    for (int row = 0; row < m_listFiles.GetItemCount(); ++row) {
        delete reinterpret_cast<UpdateItem*>(m_listFiles.GetItemData(row));
        m_listFiles.SetItemData(row, 0);
    }
    Default();
    LaunchStart();
}

// Started on every close, but only a program inside the program folder, and nothing for
// an empty Start (which would open the folder itself).
void CUpdateDialog::LaunchStart() {
    if (!IsSafeRelativePath(m_strStart))
        return;
    AfxShellExecute(nullptr, "open", GetModuleDirectory() + m_strStart, nullptr, nullptr, SW_SHOW);
}
