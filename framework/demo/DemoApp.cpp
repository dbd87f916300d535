#include <windows.h>
#include <commctrl.h>

#include "App.h"
#include "DataExchange.h"
#include "DemoResource.h"
#include "Dialog.h"
#include "ListCtrl.h"

namespace {

// Shows the framework at work (template, initialisation data, data exchange, a list of
// GBK text) until the suite's programs take its place.
class CDemoDialog : public CDialog {
public:
    CDemoDialog() : CDialog(IDD_DEMO) {}

    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, IDC_DEMO_LIST, m_list);
        DDX_CBIndex(exchange, IDC_DEMO_FIELD, m_nField);
    }

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_list.InsertColumn(0, "省份", LVCFMT_LEFT, 80);
        m_list.InsertColumn(1, "地区", LVCFMT_LEFT, 80);
        m_list.InsertColumn(2, "邮政编码", LVCFMT_LEFT, 100);
        const char* rows[][3] = {{"北京市", "东城区", "100010"}, {"浙江省", "杭州市", "310000"}};
        for (const auto& row : rows) {
            const int item = m_list.InsertItem(m_list.GetItemCount(), row[0], 0);
            m_list.SetItemText(item, 1, row[1]);
            m_list.SetItemText(item, 2, row[2]);
        }
        return TRUE;
    }

private:
    CListCtrl m_list;
    int m_nField = 0;
};

class CDemoApp : public CWinApp {
public:
    BOOL InitInstance() override {
        InitCommonControls();
        CDemoDialog dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        return FALSE;
    }
} theApp;

} // namespace
