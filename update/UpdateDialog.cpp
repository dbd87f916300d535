#include "UpdateDialog.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include "AcceptedSerial.h"
#include "FileVersionInfo.h"
#include "ManifestSource.h"
#include "ParentFolders.h"
#include "ProgramWindows.h"
#include "UpdateItem.h"
#include "UpdateManifest.h"
#include "UpdateRes.h"
#include "framework/windows/App.h"
#include "framework/windows/DataExchange.h"
#include "framework/windows/RedrawPause.h"
#include "framework/windows/Dpi.h"
#include "framework/windows/ScaledBitmap.h"
#include "framework/windows/GdiObject.h"
#include "framework/ctrl/ImageList.h"
#include "framework/windows/MessagePump.h"
#include "framework/base/Module.h"
#include "framework/base/ScopedHandle.h"
#include "framework/base/Shell.h"
#include "framework/net/WholeDownload.h"

namespace {

constexpr int kRowImageSize = 16;
// The banner's place in the dialog template (update.rc).
constexpr SIZE kBannerBoxDialogUnits{95, 188};
const COLORREF kMaskColour = RGB(255, 0, 255);
constexpr int kImagePending = 0;
constexpr int kImageDownloading = 1;
constexpr int kImageReplaced = 2;
constexpr int kImageFailed = 3;

constexpr int kMessagesPerPump = 10;
// Queue checks are round trips to the window server: on a fast line a pass per 1 KB chunk
// would cost as much as the transfer, and a person cannot tell 10 ms apart.
constexpr DWORD kPumpIntervalMs = 10;
constexpr int kStatusTextLimit = 1023;
// The most taken of any file, whatever length the server or the manifest gives.
constexpr std::uint64_t kMaxFileBytes = 256u << 20;
// The temporary files beside Template's copies and the installed files.
const char kTemporaryPrefix[] = "upd";

} // namespace

CUpdateDialog::CUpdateDialog(const char* manifestSource, CWnd* parent)
    : CIconDialog(IDD_UPDATE, IDI_UPDATE, parent), m_strManifestSource(manifestSource) {}

// Destroyed here, not in the base, so that this dialog's map still frees the rows' items.
CUpdateDialog::~CUpdateDialog() {
    if (m_hWnd)
        DestroyWindow();
}

const MessageMap* CUpdateDialog::GetMessageMap() const {
    static const MessageMap map(
        CIconDialog::GetMessageMap(),
        {
            OnCommand<&CUpdateDialog::OnUpgradeNow>(IDC_BUTTON_UPGRADE_NOW),
            OnMessage<WM_PAINT, &CUpdateDialog::OnPaint>(),
            OnMessage<WM_QUERYDRAGICON, &CUpdateDialog::OnQueryDragIcon>(),
            OnCommand<&CUpdateDialog::OnCloseButton>(IDOK),
            OnNotify<&CUpdateDialog::OnDeleteRow>(LVN_DELETEITEM, IDC_LIST_FILES),
        });
    return &map;
}

void CUpdateDialog::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_LIST_FILES, m_listFiles);
    DDX_Control(exchange, IDC_PROGRESS_DOWNLOAD, m_progress);
}

BOOL CUpdateDialog::OnInitDialog() {
    CIconDialog::OnInitDialog();
    ScaleBanner();
    CreateRowImages();
    m_listFiles.InsertColumn(0, "文件名称", LVCFMT_LEFT, ScalePixels(180));
    m_listFiles.InsertColumn(1, "版本", LVCFMT_LEFT, ScalePixels(60));
    m_listFiles.InsertColumn(2, "大小", LVCFMT_LEFT, ScalePixels(60));
    LoadManifest();
    m_progress.SetRange32(0, 100);
    return TRUE;
}

void CUpdateDialog::ScaleBanner() {
    // The banner is the template's first control.
    HWND banner = ::GetWindow(m_hWnd, GW_CHILD);
    if (DisplayDpi() == kDefaultDpi || !banner ||
        (::GetWindowLongA(banner, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
        return;
    BITMAP drawn{};
    const auto shown =
        reinterpret_cast<HGDIOBJ>(::SendMessageA(banner, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (!shown || !::GetObjectA(shown, sizeof drawn, &drawn) || drawn.bmWidth <= 0 ||
        drawn.bmHeight <= 0)
        return;
    // No larger than its box in the template: dialog units follow the font's measures, which do
    // not always grow by exactly DPI / 96.
    RECT box{0, 0, kBannerBoxDialogUnits.cx, kBannerBoxDialogUnits.cy};
    ::MapDialogRect(m_hWnd, &box);
    const int dpi =
        std::min({DisplayDpi(), static_cast<int>(box.right * kDefaultDpi / drawn.bmWidth),
                  static_cast<int>(box.bottom * kDefaultDpi / drawn.bmHeight)});
    if (!m_bmpBanner.Attach(LoadBitmapForDpi(IDB_UPDATE_BANNER, 0, CLR_NONE, dpi)))
        return;
    const auto previous = reinterpret_cast<HGDIOBJ>(::SendMessageA(
        banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bmpBanner.GetSafeHandle())));
    if (previous && previous != m_bmpBanner.GetSafeHandle())
        ::DeleteObject(previous);
}

void CUpdateDialog::CreateRowImages() {
    const int size = ScalePixels(kRowImageSize);
    CImageList images;
    CBitmap strip;
    if (!images.Create(size, size, ILC_COLOR24 | ILC_MASK, 0, 4) ||
        !strip.Attach(LoadBitmapForDpi(IDB_ROW_IMAGES, kRowImageSize, kMaskColour, DisplayDpi())))
        return;
    images.Add(strip, kMaskColour);
    m_listFiles.SetImageList(images.Detach(), LVSIL_SMALL);
}

void CUpdateDialog::LoadManifest() {
    UpdateManifest manifest;
    bool signatureValid = true;
    const UpdateManifest::Result result = ReadManifest(manifest, signatureValid);
    m_strStart = manifest.m_strStart;
    // Signed, an old or expired manifest is refused like a forged one: it may be replayed, and
    // one without a file list would still start Start.
    const char* refusal = nullptr;
    if (m_pUpdateKey && result != UpdateManifest::Result::Unreadable)
        refusal = AdmitSignedManifest(manifest.m_strSerial, manifest.m_strExpires,
                                      GetModuleDirectory() + kAcceptedSerialFile);
    if (refusal)
        m_strStart.Empty();
    if (refusal || result != UpdateManifest::Result::Read) {
        SetStatus(refusal          ? refusal
                  : signatureValid ? kManifestUnreadableText
                                   : kManifestSignatureInvalidText);
        ::EnableWindow(GetDlgItem(IDC_BUTTON_UPGRADE_NOW), FALSE);
        return;
    }
    const CString directory = GetModuleDirectory();
    // "a.exe" and "A.EXE" are one file on Windows: only its first entry counts.
    std::set<CString> seen;
    // A list that redraws after every row takes seconds for a few thousand.
    const CRedrawPause pause(m_listFiles);
    for (size_t i = 0; i < manifest.m_entries.size(); ++i) {
        const ManifestEntry& entry = manifest.m_entries[i];
        if (!IsSafeRelativePath(entry.Name) || !seen.insert(RelativePathKey(entry.Name)).second)
            continue;
        // Signed, the manifest vouches for each file through its digest: none, no offer.
        if (m_pUpdateKey && entry.SHA256.IsEmpty())
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

// With a key built in, the bytes are checked before the parser sees them.
UpdateManifest::Result CUpdateDialog::ReadManifest(UpdateManifest& manifest, bool& signatureValid) {
    std::string bytes;
    if (!ReadManifestSource(m_strManifestSource, UpdateManifest::kMaxBytes, m_limits, bytes))
        return UpdateManifest::Result::Unreadable;
    signatureValid =
        !m_pUpdateKey || IsManifestSigned(m_strManifestSource, bytes, *m_pUpdateKey, m_limits);
    return signatureValid ? manifest.Parse(bytes) : UpdateManifest::Result::Unreadable;
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
    m_bUpgrading = true;
    for (int row = 0; row < m_listFiles.GetItemCount() && !m_bCancelRequested; ++row) {
        LVITEMA image{};
        image.mask = LVIF_IMAGE;
        image.iItem = row;
        image.iImage = kImageDownloading;
        m_listFiles.SetItem(&image);
        image.iImage =
            DownloadAndReplace(row) == RowResult::Replaced ? kImageReplaced : kImageFailed;
        m_listFiles.SetItem(&image);
    }
    m_bUpgrading = false;
    if (m_bCancelRequested)
        SetStatus(kUpgradeCancelledText);
    ::SetWindowTextA(GetDlgItem(IDOK), "完成");
}

RowResult CUpdateDialog::DownloadAndReplace(int row) {
    const auto* item = reinterpret_cast<const UpdateItem*>(m_listFiles.GetItemData(row));
    if (!item || item->URL.IsEmpty())
        return RowResult::Failed;
    const CString directory = GetModuleDirectory();
    CloseProgramWindows(item->Class, directory, m_dwCloseLimitMs);
    const CString temporary = directory + "Template\\" + item->Name;
    ParentFolders folders;
    if (const std::optional<RowResult> failed = Download(*item, temporary, folders))
        return *failed;
    m_progress.SetPos(m_nShownPercent = 100);
    if (m_bCancelRequested) {
        ::DeleteFileA(temporary);
        return RowResult::Failed;
    }
    if (!AfxReplaceFileWithCopy(temporary, directory + item->Name, kTemporaryPrefix)) {
        ::DeleteFileA(temporary);
        SetStatus(RowStatus::ReplaceFailed, *item);
        return RowResult::Failed;
    }
    folders.Keep();
    SetStatus(RowStatus::Replaced, *item);
    ::DeleteFileA(temporary);
    return RowResult::Replaced;
}

// Fetches the row's file into `temporary`; a failure shows its reason and leaves nothing behind.
std::optional<RowResult> CUpdateDialog::Download(const UpdateItem& item, const CString& temporary,
                                                 ParentFolders& folders) {
    // A copy a killed run left behind goes before anything else can fail.
    ::DeleteFileA(temporary);
    HttpAddress address;
    if (!AfxParseHttpAddress(item.URL, address))
        return RowResult::Failed;
    if (!folders.Make(GetModuleDirectory() + "Template\\", item.Name)) {
        SetStatus(RowStatus::CreateFailed, item);
        return RowResult::Failed;
    }
    SetStatus(RowStatus::Downloading, item);
    DownloadPolicy policy;
    policy.maxBytes = kMaxFileBytes;
    // A negative Length or none at all is no length.
    policy.expectedLength = item.Length > 0 ? static_cast<std::uint64_t>(item.Length) : 0;
    policy.sha256 = item.SHA256;
    policy.limits = m_limits;
    policy.progress = [this](std::uint64_t done, std::uint64_t total) {
        return OnChunk(done, total);
    };
    policy.temporaryPrefix = kTemporaryPrefix;
    const CWinApp* app = AfxGetApp();
    CWholeDownload download(app ? static_cast<const char*>(app->GetAppName()) : "", policy);
    const CString& status = download.GetStatus();
    switch (download.ToFile(item.URL, temporary)) {
    case DownloadResult::Complete:
        return std::nullopt;
    case DownloadResult::BadAddress:
    case DownloadResult::Cancelled:
        return RowResult::Failed;
    case DownloadResult::NotSent:
        if (download.GetError() == ERROR_TIMEOUT)
            SetStatus(RowStatus::TimedOut, item);
        else
            SetStatus(InternetErrorText(download.GetError()));
        return RowResult::NotSent;
    case DownloadResult::Refused:
        SetStatus(status == "404"         ? RowStatus::NotFound
                  : status.Left(1) == "2" ? RowStatus::Incomplete
                                          : RowStatus::ServerRefused,
                  item, status);
        return RowResult::Failed;
    case DownloadResult::TimedOut:
        SetStatus(RowStatus::TimedOut, item);
        return RowResult::Failed;
    case DownloadResult::DigestMismatch:
        SetStatus(RowStatus::ChecksumMismatch, item);
        return RowResult::Failed;
    case DownloadResult::CreateFailed:
    case DownloadResult::ReplaceFailed:
        SetStatus(RowStatus::CreateFailed, item);
        return RowResult::Failed;
    case DownloadResult::WriteFailed:
        SetStatus(RowStatus::WriteFailed, item);
        return RowResult::Failed;
    case DownloadResult::Incomplete:
    case DownloadResult::Invalid:
        break;
    }
    SetStatus(RowStatus::Incomplete, item);
    return RowResult::Failed;
}

bool CUpdateDialog::OnChunk(std::uint64_t received, std::uint64_t total) {
    // A message per chunk would cost more than the chunk.
    const int percent = ProgressPercent(received, total);
    if (percent != m_nShownPercent)
        m_progress.SetPos(m_nShownPercent = percent);
    const DWORD now = ::GetTickCount();
    if (now - m_dwLastPump >= kPumpIntervalMs) {
        m_dwLastPump = now;
        // Lets the dialog repaint and answer during a download on its own thread.
        AfxPumpWaitingMessages(kMessagesPerPump);
    }
    return !m_bCancelRequested;
}

void CUpdateDialog::SetStatus(const CString& text) {
    ::SetWindowTextA(GetDlgItem(IDC_STATIC_STATUS), text.Left(kStatusTextLimit));
}

void CUpdateDialog::SetStatus(RowStatus status, const UpdateItem& item, const char* detail) {
    SetStatus(StatusText(status, item.Name, detail));
}

// A close request during a run stops it at once; the dialog ends when the run has returned.
void CUpdateDialog::OnCloseButton() {
    m_bCancelRequested = m_bUpgrading;
    OnOK();
}

void CUpdateDialog::OnCancel() {
    m_bCancelRequested = m_bUpgrading;
    CDialog::OnCancel();
}

void CUpdateDialog::OnDeleteRow(NMHDR* header, LRESULT*) {
    delete reinterpret_cast<UpdateItem*>(reinterpret_cast<NMLISTVIEW*>(header)->lParam);
}

// Started on every close, but only an existing file inside the program folder: never a
// folder, which "open" would show to the user.
void CUpdateDialog::LaunchStart() {
    const CString target = GetModuleDirectory() + m_strStart;
    const DWORD attributes = ::GetFileAttributesA(target);
    if (!IsSafeRelativePath(m_strStart) || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    AfxShellExecute(nullptr, "open", target, nullptr, nullptr, SW_SHOW);
}
