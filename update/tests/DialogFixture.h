#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SeamRecorder.h"
#include "TestSupport.h"
#include "UpdateDialog.h"
#include "uidriver/uidriver.h"

// The dialog with a record of its OnOK calls, which end it.
class RecordingDialog : public CUpdateDialog {
public:
    using CUpdateDialog::CUpdateDialog;
    void OnOK() override {
        ++okCalls;
        CUpdateDialog::OnOK();
    }
    int okCalls = 0;
};

// How one row of an upgrade run ended: its image, the status label's text at that moment and
// how long the row took.
struct RowEnd {
    int image;
    std::string text;
    DWORD ms;
};

// A folder of its own for each test in the program folder, in Template\ and on the local
// server, which serves `served` as "new.bin"; shell launches and message boxes are recorded
// instead of made.
class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Installs a version fixture program as <case folder>\<name>, making its folders.
    void Install(const char* fixture, const char* name);
    // <case>\<name>, as a manifest names a file of the case folder.
    CString Name(const char* name) const { return caseName + "\\" + name; }
    CString Installed(const char* name) const { return caseFolder + "\\" + name; }
    // The address of a file of the case on the local server, asked through `prefix`.
    CString Served(const char* prefix = "", const char* file = "new.bin") const;
    // Creates the dialog on a manifest written into the case folder, or on `source`.
    void Open(const ManifestText& manifest);
    void Open(const CString& source);
    // Clicks 立即升级 and returns when the run is over; `visible` shows the dialog and has its
    // status label repainted every 100 ms.
    std::vector<RowEnd> Upgrade(bool visible = false);

    CString caseName;
    CString caseFolder;
    CString templateFolder;
    CString servedFolder;
    const std::string original = ReadBytes(BuiltProgram("version_1_2_3_4.exe"));
    std::string served;
    std::unique_ptr<RecordingDialog> dialog;
    SeamRecorder seams;
    // Recorded during Upgrade: progress positions and the status text of each label paint.
    std::vector<int> positions;
    std::vector<std::string> paintedTexts;

private:
    static LRESULT CALLBACK Watch(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR fixture);
    HWND m_statusLabel = nullptr;
    DWORD m_rowStart = 0;
    std::vector<RowEnd> m_rowEnds;
};
