#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ZipdexTestSupport.h"

namespace {

class SortList : public LookupDialogTest {
protected:
    void Fill(const std::vector<Texts>& rows) {
        list.DeleteAllItems();
        for (const Texts& row : rows) {
            const int item = list.InsertItem(list.GetItemCount(), row[0].c_str(), 0);
            for (size_t column = 1; column < row.size(); ++column)
                list.SetItemText(item, static_cast<int>(column), row[column].c_str());
        }
    }
    // The header's notification of a click on a heading, as a mouse click on it sends.
    void ClickHeading(int column) {
        NMHEADERA click{{list.GetHeaderCtrl(), 0, HDN_ITEMCLICKA}, column, 0, nullptr};
        list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    }
};

TEST_F(SortList, ClicksSortByGbkCodeKeepingEqualRowsInOrderAndRowsWhole) {
    Fill({{"北京市", "1", "99"},
          {"Zhejiang", "2", "100"},
          {"安徽省", "3", "101"},
          {"北京市", "4", "100"},
          {"浙江省", "5", "99"}});
    // Item data, image, selection and focus go with the row whose column 1 tells it apart.
    for (int row = 0; row < 5; ++row)
        list.SetItemData(row, static_cast<DWORD_PTR>(row + 1));
    const UINT marks = LVIS_SELECTED | LVIS_FOCUSED;
    list.SetItemState(2, marks, marks);
    LVITEMA image{};
    image.mask = LVIF_IMAGE;
    image.iItem = image.iImage = 2;
    list.SetItem(&image);
    const struct {
        int column;
        Texts order; // of column 1
    } clicks[] = {
        {0, {"2", "3", "1", "4", "5"}},
        {0, {"5", "1", "4", "3", "2"}},
        {2, {"4", "2", "3", "5", "1"}},
        {2, {"5", "1", "3", "4", "2"}},
    };
    for (const auto& click : clicks) {
        ClickHeading(click.column);
        ASSERT_EQ(click.order, ColumnTexts(list, 1)) << click.column;
        for (image.iItem = 0; image.iItem < 5; ++image.iItem) {
            const bool third = click.order[static_cast<size_t>(image.iItem)] == "3";
            list.GetItem(&image);
            EXPECT_EQ(third ? 2 : 0, image.iImage);
            EXPECT_EQ(third ? marks : 0u, list.GetItemState(image.iItem, marks));
            EXPECT_EQ(std::stoul(click.order[static_cast<size_t>(image.iItem)]),
                      list.GetItemData(image.iItem));
        }
    }
    EXPECT_EQ(2, list.GetFlatHeader().GetSortColumn());
    EXPECT_FALSE(list.GetFlatHeader().IsSortAscending());
}

TEST_F(SortList, AnEmptyListMovesTheArrowAndARefillKeepsTheDirection) {
    ClickHeading(3);
    EXPECT_EQ(3, list.GetFlatHeader().GetSortColumn());
    ClickHeading(0);
    Fill({{"d"}, {"c"}});
    ClickHeading(0);
    EXPECT_EQ((Texts{"d", "c"}), ColumnTexts(list, 0)) << "second click sorts descending";
}

} // namespace
