#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/database/Database.h"
#include "framework/windows/IconDialog.h"
#include "LinkLabel.h"
#include "SortListCtrl.h"
#include "framework/ctrl/TreeCtrl.h"
#include "XPButton.h"
#include "ZipdexRes.h"

// The lookup window: provinces in a tree on the left, the rows found on the right, the
// search bar on top and two links at the foot. Every query runs on the database given, which
// stays open while the dialog lives.
class CLookupDialog : public CIconDialog {
public:
    explicit CLookupDialog(CDatabase& database, CWnd* parent = nullptr);

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    // Enter never ends the lookup, even if the table lost its entry for IDC_BUTTON_SEARCH.
    void OnOK() override {}

    // Replaces the list's rows by the statement's; an empty statement means the rows of the
    // province selected in the tree (none when the root is selected).
    void FillResultList(CString statement);
    void LoadProvinceTree(HTREEITEM root);

    CXPButton m_btnSearch;
    CXPButton m_btnCopy;
    CXPButton m_btnAbout;
    CSortListCtrl m_listResult;
    CTreeCtrl m_treeProvince;
    int m_nSearchField = 0;
    CString m_strSearchValue;
    CLinkLabel m_linkHelp;
    CLinkLabel m_linkHome;

private:
    void OnSelchangedTree(NMHDR* notification, LRESULT* result);
    void OnSearch();
    void OnCopy();
    void OnAbout();
    static HIMAGELIST LoadImageStrip(UINT bitmapId);

    CDatabase& m_database;
};
