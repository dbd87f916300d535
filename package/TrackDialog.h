#pragma once

#include <windows.h>

#include "LinkLabel.h"
#include "PackageRes.h"
#include "XPButton.h"
#include "framework/ctrl/ComboBox.h"
#include "framework/windows/IconDialog.h"
#include "framework/com/HtmlCtrl.h"
#include "framework/ctrl/ProgressCtrl.h"
#include "framework/base/StringMap.h"

// The tracking window: the company selector and the vendor's buttons on top, the chosen
// company's tracking page in the browser pane, the status link and page-load progress below.
class CTrackDialog : public CIconDialog {
public:
    explicit CTrackDialog(CWnd* parent = nullptr);
    ~CTrackDialog() override;

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    // Fills the selector and the name-to-address map from configs.xml; a missing or unreadable
    // file leaves both empty.
    void LoadExpressConfig();

    CLinkLabel m_linkStatus;
    CHtmlCtrl m_browser;
    // The company to select at start; the one selected when the window goes.
    CString m_strCompany;
    CMapStringToString m_mapExpressUrl{10};
    CProgressCtrl m_progress;
    CXPButton m_btnHomepage;
    CXPButton m_btnAbout;
    CXPButton m_btnForum;
    CXPButton m_btnOnline;
    CComboBox m_comboCompany;

protected:
    void OnAbout();
    void OnDestroy();
    LRESULT OnHtmlProgress(WPARAM progress, LPARAM progressMax);
    void OnSelchangeCompany();
    void OnHomepage();
    void OnForum();
    void OnOnline();
};
