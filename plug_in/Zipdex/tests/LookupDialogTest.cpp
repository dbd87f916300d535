#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "LookupDialog.h"
#include "PostalDatabase.h"
#include "MessagePump.h"
#include "SeamRecorder.h"
#include "VendorSite.h"
#include "ZipdexTestDatabase.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows ListRows(CListCtrl& list) {
    Rows rows;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        rows.emplace_back();
        for (int column = 0; column < 4; ++column)
            rows.back().push_back(list.GetItemText(row, column).str());
    }
    return rows;
}

std::vector<std::string> Column(CListCtrl& list, int column) {
    std::vector<std::string> texts;
    for (const auto& row : ListRows(list))
        texts.push_back(row[static_cast<size_t>(column)]);
    return texts;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

class LookupDialog : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        dialog.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        if (dialog.m_hWnd)
            dialog.DestroyWindow();
    }
    HTREEITEM Province(const char* name) {
        CTreeCtrl& tree = dialog.m_treeProvince;
        for (HTREEITEM item = tree.GetChildItem(tree.GetRootItem()); item;
             item = tree.GetNextSiblingItem(item))
            if (tree.GetItemText(item) == name)
                return item;
        return nullptr;
    }
    void Search(int field, const char* value) {
        SendDlgItemMessageA(dialog.m_hWnd, IDC_COMBO_FIELD, CB_SETCURSEL,
                            static_cast<WPARAM>(field), 0);
        SetDlgItemTextA(dialog.m_hWnd, IDC_EDIT_VALUE, value);
        Click(IDC_BUTTON_SEARCH);
    }
    void Click(int id) {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
    }
    void SelectRows(std::initializer_list<int> rows) {
        for (int row : rows)
            dialog.m_listResult.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    void ClickHeading(int column) {
        NMHEADERA click{};
        click.hdr.hwndFrom = dialog.m_listResult.GetHeaderCtrl();
        click.hdr.code = HDN_ITEMCLICKW;
        click.iItem = column;
        dialog.m_listResult.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    }

    ZipdexTestDatabase database{kLookupRows};
    SeamRecorder messages;
    CLookupDialog dialog;
};

TEST_F(LookupDialog, TreeHoldsTheRootAndTheProvincesInGbkOrder) {
    CTreeCtrl& tree = dialog.m_treeProvince;
    const HTREEITEM root = tree.GetRootItem();
    EXPECT_STREQ("邮编区号查询", tree.GetItemText(root));
    EXPECT_TRUE(tree.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED);
    std::vector<std::string> provinces;
    for (HTREEITEM item = tree.GetChildItem(root); item; item = tree.GetNextSiblingItem(item))
        provinces.push_back(tree.GetItemText(item).str());
    EXPECT_EQ((std::vector<std::string>{"安徽省", "北京市", "测试省", "浙江省"}), provinces);
    EXPECT_EQ(0, dialog.m_listResult.GetItemCount());
}

TEST_F(LookupDialog, InitialisationSetsLinksColumnsAndCombo) {
    EXPECT_EQ(CString("澜图软件 荣誉出品 ") + LUMIVANE_VENDOR_HOST,
              dialog.m_linkHome.GetWindowText());
    EXPECT_STREQ(LUMIVANE_VENDOR_ADDRESS, dialog.m_linkHome.GetLinkTarget());
    EXPECT_STREQ(LUMIVANE_VENDOR_ADDRESS "/inc/news_info.asp?newsid=14",
                 dialog.m_linkHelp.GetLinkTarget());
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(32649)), dialog.m_linkHelp.m_hLinkCursor);
    EXPECT_EQ(4, SendDlgItemMessageA(dialog.m_hWnd, IDC_COMBO_FIELD, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, SendDlgItemMessageA(dialog.m_hWnd, IDC_COMBO_FIELD, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(100, dialog.m_listResult.GetColumnWidth(3));
    EXPECT_TRUE(dialog.m_listResult.GetExtendedStyle() & LVS_EX_FULLROWSELECT);
}

TEST_F(LookupDialog, SelectingAProvinceListsItsRowsInDatabaseOrder) {
    dialog.m_treeProvince.SelectItem(Province("浙江省"));
    EXPECT_EQ((Rows{{"浙江省", "杭州市", "310000", "0571"},
                    {"浙江省", "宁波市", "315000", "0574"},
                    {"浙江省", "温州市", "325000", "0577"}}),
              ListRows(dialog.m_listResult));
    dialog.m_treeProvince.SelectItem(dialog.m_treeProvince.GetRootItem());
    EXPECT_EQ(3, dialog.m_listResult.GetItemCount());
}

TEST_F(LookupDialog, SearchesListMatchesTakingValuesLiterally) {
    dialog.m_treeProvince.SelectItem(Province("浙江省"));
    const struct {
        int field;
        const char* value;
        int column;
        std::vector<std::string> texts;
    } searches[] = {
        {2, "1000", 1, {"东城区", "杭州市", "西城区"}},
        {1, "_", 1, {"百分_号%区"}},
        {1, "O'B", 1, {"O'Brien区"}},
        {0, "北", 0, {"北京市", "北京市"}},
        {3, "0571", 3, {"0571"}},
        {3, "", 3, {"0571"}}, // an empty value changes nothing
        {3, "12345", 3, {}},
    };
    for (const auto& search : searches) {
        Search(search.field, search.value);
        EXPECT_EQ(search.texts, Column(dialog.m_listResult, search.column)) << search.value;
    }
    EXPECT_EQ(dialog.m_treeProvince.GetRootItem(), dialog.m_treeProvince.GetSelectedItem());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(LookupDialog, EnterInTheValueBoxSearchesAndTheDialogStays) {
    const HWND edit = dialog.GetDlgItem(IDC_EDIT_VALUE);
    SetWindowTextA(edit, "宁波");
    SendDlgItemMessageA(dialog.m_hWnd, IDC_COMBO_FIELD, CB_SETCURSEL, 1, 0);
    SetFocus(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    PumpMessages();
    EXPECT_EQ((std::vector<std::string>{"宁波市"}), Column(dialog.m_listResult, 1));
    EXPECT_TRUE(IsWindowVisible(dialog.m_hWnd));
}

TEST_F(LookupDialog, CopyPutsTheSelectedRowsOnTheClipboardOrSaysWhyNot) {
    dialog.m_treeProvince.SelectItem(Province("浙江省"));
    Click(IDC_BUTTON_COPY);
    SelectRows({0, 1, 2});
    Click(IDC_BUTTON_COPY);
    const std::string copied =
        "省份： 浙江省\r\n地区： 杭州市\r\n邮政编码： 310000\r\n电话区号： 0571\r\n"
        "省份： 浙江省\r\n地区： 宁波市\r\n邮政编码： 315000\r\n电话区号： 0574\r\n"
        "省份： 浙江省\r\n地区： 温州市\r\n邮政编码： 325000\r\n电话区号： 0577\r\n";
    EXPECT_EQ(copied, ClipboardText());
    // While another window holds the clipboard the copy fails, and says so.
    ASSERT_TRUE(OpenClipboard(nullptr));
    Click(IDC_BUTTON_COPY);
    CloseClipboard();
    EXPECT_EQ(copied, ClipboardText());
    ASSERT_EQ(3u, messages.boxes.size());
    EXPECT_STREQ("您没有选择要复制的项目。", messages.boxes[0].text);
    EXPECT_STREQ("数据已经被复制倒内存！", messages.boxes[1].text);
    EXPECT_STREQ("无法把数据复制到剪贴板，请稍后再试。", messages.boxes[2].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), messages.boxes[1].type & MB_ICONMASK);
}

TEST_F(LookupDialog, CopyAfterSortingFollowsTheVisualOrder) {
    dialog.m_treeProvince.SelectItem(Province("浙江省"));
    SelectRows({0, 2});
    ClickHeading(2);
    ClickHeading(2);
    Click(IDC_BUTTON_COPY);
    const std::string text = ClipboardText();
    EXPECT_LT(text.find("325000"), text.find("310000"));
    EXPECT_EQ(std::string::npos, text.find("315000"));
}

TEST_F(LookupDialog, ColumnWidthsAreSavedWhenTheDialogCloses) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const CString profile = CString(temp) + "zipdex-widths.ini";
    DeleteFileA(profile);
    const CString previous = AfxGetApp()->GetProfilePath();
    AfxGetApp()->SetProfilePath(profile);
    dialog.m_listResult.SetColumnWidth(0, 120);
    dialog.DestroyWindow();
    char value[64] = {};
    GetPrivateProfileStringA("Settings", "Control", "", value, sizeof value, profile);
    EXPECT_STREQ("120,80,100,100,", value);
    AfxGetApp()->SetProfilePath(previous);
    DeleteFileA(profile);
}

TEST_F(LookupDialog, DatabaseErrorIsShownAndTheDialogStaysUsable) {
    theDatabase.Close();
    Search(0, "北");
    ASSERT_EQ(1u, messages.boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONSTOP), messages.boxes[0].type & MB_ICONMASK);
    EXPECT_TRUE(IsWindow(dialog.m_hWnd));
}

} // namespace
