#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>

#include "framework/Dialog.h"
#include "framework/ListCtrl.h"
#include "framework/ProgressCtrl.h"
#include "UpdateRules.h"

struct ManifestEntry;
struct UpdateItem;
class Sha256;

// The updater's window: lists the files whose installed version differs from the
// manifest's, replaces them on request and starts the manifest's program when it goes.
class CUpdateDialog : public CDialog {
public:
    explicit CUpdateDialog(const char* manifestSource, CWnd* parent = nullptr);
    ~CUpdateDialog() override;

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    // Reads the manifest and fills the list; ends the dialog when nothing needs updating.
    void LoadManifest();
    // Replaces the file of one row: 1 replaced, 0 request not sent, -1 any other failure.
    int DownloadAndReplace(int row);

    void OnUpgradeNow();
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnDestroy();
    void OnCloseButton();

    CString m_strStart;
    CString m_strManifestSource;
    HICON m_hIcon;
    CListCtrl m_listFiles;
    CProgressCtrl m_progress;

private:
    enum class Transfer { Complete, ReadFailed, WriteFailed };

    void CreateRowImages();
    void AddRow(int position, const ManifestEntry& entry);
    void SetStatus(const CString& text);
    void SetStatus(RowStatus status, const UpdateItem& item, const char* detail = "");
    Transfer ReceiveBody(HINTERNET request, HANDLE file, std::uint64_t total,
                         std::uint64_t& received, Sha256& digest);
    void PumpMessages();
    void LaunchStart();
};
