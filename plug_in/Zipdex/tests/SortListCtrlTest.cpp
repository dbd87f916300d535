#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "LookupDialog.h"
#include "SortListCtrl.h"
#include "ZipdexTestDatabase.h"

namespace {

class SortList : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create()); }
    void TearDown() override { dialog.DestroyWindow(); }

    void Fill(const std::vector<std::vector<const char*>>& rows) {
        list.DeleteAllItems();
        for (const auto& row : rows) {
            const int item = list.InsertItem(list.GetItemCount(), row[0], 0);
            for (int column = 1; column < 4; ++column)
                list.SetItemText(item, column, row[static_cast<size_t>(column)]);
        }
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < list.GetItemCount(); ++row)
            texts.push_back(list.GetItemText(row, column).str());
        return texts;
    }
    void ClickHeading(int column, int button = 0) {
        NMHEADERA click{};
        click.hdr.hwndFrom = list.GetHeaderCtrl();
        click.hdr.code = HDN_ITEMCLICKA;
        click.iItem = column;
        click.iButton = button;
        EXPECT_EQ(0, list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click)));
    }

    ZipdexTestDatabase database{"PROVINCE,DC,YZBM,DHQH\n"};
    CLookupDialog dialog;
    CSortListCtrl& list = dialog.m_listResult;
};

TEST_F(SortList, ClicksSortByGbkCodeAscendingThenDescendingKeepingEqualRowsInOrder) {
    Fill({{"北京市", "1", "99", ""},
          {"Zhejiang", "2", "100", ""},
          {"安徽省", "3", "101", ""},
          {"北京市", "4", "100", ""},
          {"浙江省", "5", "99", ""}});
    const struct {
        int column;
        std::vector<std::string> order; // of column 1, which tells the rows apart
    } clicks[] = {
        {0, {"2", "3", "1", "4", "5"}},
        {0, {"5", "1", "4", "3", "2"}},
        {2, {"4", "2", "3", "5", "1"}},
        {2, {"5", "1", "3", "4", "2"}},
    };
    for (const auto& click : clicks) {
        ClickHeading(click.column);
        EXPECT_EQ(click.order, Column(1)) << click.column;
    }
    EXPECT_EQ(2, list.GetSortColumn());
    EXPECT_FALSE(list.IsSortAscending());
}

TEST_F(SortList, SelectionFocusImageAndDataMoveWithTheirRows) {
    Fill({{"c", "", "", ""}, {"b", "", "", ""}, {"a", "", "", ""}});
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetItemData(0, 0xC);
    LVITEMA image{};
    image.mask = LVIF_IMAGE;
    image.iItem = 0;
    image.iImage = 2;
    list.SetItem(&image);
    ClickHeading(0);
    ASSERT_EQ((std::vector<std::string>{"a", "b", "c"}), Column(0));
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED),
              list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(0u, list.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(0xCu, list.GetItemData(2));
    image.iItem = 2;
    image.iImage = -1;
    list.GetItem(&image);
    EXPECT_EQ(2, image.iImage);
}

TEST_F(SortList, EmptyListStillMovesTheArrow) {
    ClickHeading(3);
    EXPECT_EQ(3, list.GetFlatHeader().GetSortColumn());
    EXPECT_TRUE(list.GetFlatHeader().IsSortAscending());
    ClickHeading(3);
    EXPECT_FALSE(list.GetFlatHeader().IsSortAscending());
}

TEST_F(SortList, OtherMouseButtonsDoNotSort) {
    Fill({{"b", "", "", ""}, {"a", "", "", ""}});
    ClickHeading(0, 1);
    EXPECT_EQ((std::vector<std::string>{"b", "a"}), Column(0));
    EXPECT_EQ(-1, list.GetSortColumn());
}

TEST_F(SortList, RefillKeepsTheSortStateWithoutSorting) {
    Fill({{"b", "", "", ""}, {"a", "", "", ""}});
    ClickHeading(0);
    Fill({{"d", "", "", ""}, {"c", "", "", ""}});
    EXPECT_EQ((std::vector<std::string>{"d", "c"}), Column(0));
    ClickHeading(0);
    EXPECT_EQ((std::vector<std::string>{"d", "c"}), Column(0)) << "second click sorts descending";
}

TEST_F(SortList, ListThatCreatesItsOwnWindowAttachesTheFlatHeader) {
    // Wine's list view makes its header at creation only when it is created visible.
    CSortListCtrl created;
    ASSERT_TRUE(created.CreateEx(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT,
                                 CRect(0, 0, 200, 100), &dialog, 2000));
    EXPECT_EQ(created.GetHeaderCtrl(), created.GetFlatHeader().m_hWnd);
    created.InsertColumn(0, "省份", LVCFMT_LEFT, 80);
    created.InsertItem(0, "b", 0);
    created.InsertItem(1, "a", 0);
    NMHEADERA click{};
    click.hdr.hwndFrom = created.GetHeaderCtrl();
    click.hdr.code = HDN_ITEMCLICKW;
    created.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    EXPECT_STREQ("a", created.GetItemText(0, 0));
    created.DestroyWindow();
}

} // namespace
