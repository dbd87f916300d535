#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/windows/GdiObject.h"
#include "framework/windows/IconDialog.h"
#include "framework/ctrl/ListCtrl.h"
#include "framework/ctrl/ProgressCtrl.h"
#include "framework/net/InternetSession.h"
#include "UpdateManifest.h"
#include "UpdateRules.h"

#include <optional>

class ParentFolders;
struct UpdateItem;

// How one row's run ended: its file replaced; the request could not be sent; any other failure.
enum class RowResult { Replaced = 1, NotSent = 0, Failed = -1 };

// The updater's window: lists the files whose installed version differs from the
// manifest's, replaces them on request and starts the manifest's program when it goes.
class CUpdateDialog : public CIconDialog {
public:
    explicit CUpdateDialog(const char* manifestSource, CWnd* parent = nullptr);
    ~CUpdateDialog() override;

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

    // Reads the manifest and fills the list; ends the dialog when nothing needs updating.
    void LoadManifest();
    // Replaces the file of one row.
    RowResult DownloadAndReplace(int row);
    // Opens the manifest's start program; the application does so once the dialog has ended,
    // however it ended.
    void LaunchStart();

    void OnUpgradeNow();
    void OnCloseButton();
    // A row's item goes with its row.
    void OnDeleteRow(NMHDR* header, LRESULT* result);

    CString m_strStart;
    CString m_strManifestSource;
    CListCtrl m_listFiles;
    CProgressCtrl m_progress;
    // The scaled banner, kept until the dialog's window and its picture are gone.
    CBitmap m_bmpBanner;
    // How long a server may keep the manifest or a file waiting; shorter only in tests.
    InternetTransferLimits m_limits;
    // How long the windows of a program that holds a file may take to close, per row.
    DWORD m_dwCloseLimitMs = 5000;
    // The point of the key whose signature the manifest must carry; null: unsigned manifests.
    const BYTE (*m_pUpdateKey)[64] = nullptr;

private:
    UpdateManifest::Result ReadManifest(UpdateManifest& manifest, bool& signatureValid);
    void CreateRowImages();
    // The side banner drawn for 96 DPI, replaced by one scaled to the display's DPI.
    void ScaleBanner();
    void AddRow(int position, const ManifestEntry& entry);
    // Nothing when `temporary` holds what the server meant to send; otherwise how the row ended.
    // The folders it makes for the file are kept in `folders`.
    std::optional<RowResult> Download(const UpdateItem& item, const CString& temporary,
                                      ParentFolders& folders);
    void SetStatus(const CString& text);
    void SetStatus(RowStatus status, const UpdateItem& item, const char* detail = "");
    // Shows the progress and lets messages through; false once the user asked to stop.
    bool OnChunk(std::uint64_t received, std::uint64_t total);

    DWORD m_dwLastPump = 0;
    int m_nShownPercent = -1;
    bool m_bUpgrading = false;
    bool m_bCancelRequested = false;
};
