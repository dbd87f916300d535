#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SeamRecorder.h"
#include "TestSupport.h"
#include "UpdateDialog.h"

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

// A folder of its own under the program folder (and under Template\) for each test, the
// shell launches and message boxes recorded instead of made, and a manifest written into the
// folder.
class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Installs a version fixture program as <case folder>\<name>.
    void Install(const char* fixture, const char* name);
    // Writes the manifest into the case folder and returns its path.
    CString WriteManifest(const ManifestText& manifest);
    // <case>\<name>, as the manifest's Name of a file in the case folder.
    CString Name(const char* name) const { return caseName + "\\" + name; }
    CString Installed(const char* name) const { return caseFolder + "\\" + name; }
    CString Temporary(const char* name) const { return templateFolder + "\\" + name; }

    std::vector<std::string> Rows(RecordingDialog& dialog);
    int RowImage(RecordingDialog& dialog, int row);
    static CString Text(const CWnd& dialog, int id);

    CString caseName;
    CString caseFolder;
    CString templateFolder;
    SeamRecorder seams;
};
