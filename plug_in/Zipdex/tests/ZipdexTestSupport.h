#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LookupDialog.h"
#include "SeamRecorder.h"
#include "framework/base/String.h"

// The lookup dialog, shown, on a temporary Access file opened as its database that holds two
// provinces with several rows, text wildcards and codes that sort as text; the message boxes
// it shows are recorded.
class LookupDialogTest : public ::testing::Test {
protected:
    LookupDialogTest();
    ~LookupDialogTest() override;
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        dialog.ShowWindow(SW_SHOW);
    }
    void TearDown() override { dialog.DestroyWindow(); }

    CString m_databasePath;
    SeamRecorder messages;
    CDatabase database;
    CLookupDialog dialog{database};
    CSortListCtrl& list = dialog.m_listResult;
};

using Texts = std::vector<std::string>;

Texts ColumnTexts(const CListCtrl& list, int column);
