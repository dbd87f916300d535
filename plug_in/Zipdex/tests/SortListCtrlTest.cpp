#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ZipdexTestSupport.h"

namespace {

class SortList : public LookupDialogTest {
protected:
    // Each row's image and item data are its index here, so that they can be followed.
    void Fill(const std::vector<Texts>& rows) {
        list.DeleteAllItems();
        for (const Texts& row : rows) {
            const int item =
                list.InsertItem(list.GetItemCount(), row[0].c_str(), list.GetItemCount());
            list.SetItemData(item, static_cast<DWORD_PTR>(item));
            for (size_t column = 1; column < row.size(); ++column)
                list.SetItemText(item, static_cast<int>(column), row[column].c_str());
        }
    }
    // The header's notification of a click on a heading, as a mouse click on it sends.
    void ClickHeading(int column, int button = 0) {
        NMHEADERA click{{list.GetHeaderCtrl(), 0, HDN_ITEMCLICKA}, column, button, nullptr};
        list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    }
};

TEST_F(SortList, ClicksSortByGbkCodeKeepingEqualRowsInOrderAndRowsWhole) {
    Fill({{"北京市", "1", "99"},
          {"Zhejiang", "2", "100"},
          {"安徽省", "3", "101"},
          {"北京市", "4", "100"},
          {"浙江省", "5", "99"}});
    // Image, item data, selection and focus go with the row, which column 1 tells apart.
    const UINT marks = LVIS_SELECTED | LVIS_FOCUSED;
    list.SetItemState(2, marks, marks);
    const struct {
        int column;
        Texts order; // of column 1
    } clicks[] = {
        {0, {"2", "3", "1", "4", "5"}},
        {0, {"5", "1", "4", "3", "2"}},
        {2, {"4", "2", "3", "5", "1"}},
        {2, {"5", "1", "3", "4", "2"}},
    };
    LVITEMA row{};
    row.mask = LVIF_IMAGE | LVIF_PARAM;
    for (const auto& click : clicks) {
        ClickHeading(click.column);
        ASSERT_EQ(click.order, ColumnTexts(list, 1)) << click.column;
        for (row.iItem = 0; row.iItem < 5; ++row.iItem) {
            const int filled = std::stoi(click.order[static_cast<size_t>(row.iItem)]) - 1;
            list.GetItem(&row);
            EXPECT_EQ(filled, row.iImage);
            EXPECT_EQ(filled, static_cast<int>(row.lParam));
            EXPECT_EQ(filled == 2 ? marks : 0u, list.GetItemState(row.iItem, marks));
        }
    }
    // Both sorted headings are painted by the flat header, which shows the last sort.
    CFlatHeaderCtrl& header = list.GetFlatHeader();
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    for (int column = 0; column < 4; ++column, item.fmt = 0)
        EXPECT_EQ(column % 2 == 0, header.GetItem(column, &item) && item.fmt & HDF_OWNERDRAW);
    EXPECT_EQ(2, header.GetSortColumn());
    EXPECT_FALSE(header.IsSortAscending());
}

TEST_F(SortList, AnEmptyListMovesTheArrowAndARefillKeepsTheDirection) {
    ClickHeading(3);
    EXPECT_EQ(3, list.GetFlatHeader().GetSortColumn());
    ClickHeading(0);
    Fill({{"d"}, {"c"}});
    ClickHeading(0);
    EXPECT_EQ((Texts{"d", "c"}), ColumnTexts(list, 0)) << "second click sorts descending";
}

// Only the left button sorts, whether the header reports the click or the mouse makes it.
TEST_F(SortList, OnlyTheLeftButtonSorts) {
    Fill({{"b"}, {"a"}});
    const HWND header = list.GetHeaderCtrl();
    const LPARAM onFirstHeading = MAKELPARAM(10, 5);
    for (UINT down : {WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_LBUTTONDOWN}) {
        for (int button : {1, 2})
            ClickHeading(0, button);
        EXPECT_EQ((Texts{"b", "a"}), ColumnTexts(list, 0)) << down;
        EXPECT_EQ(-1, list.GetFlatHeader().GetSortColumn());
        SendMessageA(header, down, 0, onFirstHeading);
        SendMessageA(header, down + 1, 0, onFirstHeading);
    }
    EXPECT_EQ((Texts{"a", "b"}), ColumnTexts(list, 0));
}

// The profile keeps widths at 96 DPI (the black-box test reads the value written at 96 DPI):
// what a display of more DPI shows wider is stored as the width it means, to the nearest pixel.
TEST(ColumnWidthsProfile, StoresEachWidthAt96DpiFollowedByAComma) {
    EXPECT_STREQ("80,80,100,100,", ColumnWidthsProfileText({120, 120, 150, 150}, 144));
    EXPECT_STREQ("80,145,0,", ColumnWidthsProfileText({100, 181, 0}, 120));
}

} // namespace
