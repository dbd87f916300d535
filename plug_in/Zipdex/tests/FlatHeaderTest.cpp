#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "Canvas.h"
#include "LookupDialog.h"
#include "SortArrow.h"
#include "ZipdexTestDatabase.h"

namespace {

// Whatever the painting under test leaves alone keeps this colour.
constexpr COLORREF kUnpainted = RGB(1, 2, 3);
const COLORREF kFace = GetSysColor(COLOR_BTNFACE);
const COLORREF kHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
const COLORREF kShadow = GetSysColor(COLOR_BTNSHADOW);

TEST(SortArrow, StrokesFollowTheHeaderEdges) {
    const RECT item{0, 0, 80, 20};
    const auto up = SortArrowStrokes(item, 6, true);
    ASSERT_EQ(2u, up.size());
    EXPECT_TRUE(up[0].highlight);
    EXPECT_EQ(68, up[0].points[0].x);
    EXPECT_EQ(5, up[0].points[0].y);
    EXPECT_EQ(71, up[0].points[1].x);
    EXPECT_EQ(14, up[0].points[1].y);
    EXPECT_EQ(63, up[0].points[2].x);
    EXPECT_EQ(64, up[1].points[0].x);
    EXPECT_EQ(13, up[1].points[0].y);
    EXPECT_EQ(4, up[1].points[1].y);
    const auto down = SortArrowStrokes(item, 6, false);
    EXPECT_EQ(71, down[0].points[0].x);
    EXPECT_EQ(67, down[0].points[1].x);
    EXPECT_EQ(15, down[0].points[1].y);
    EXPECT_EQ(64, down[1].points[1].x);
    EXPECT_EQ(5, down[1].points[2].y);
}

class FlatHeader : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create()); }
    void TearDown() override { dialog.DestroyWindow(); }
    bool OwnerDrawn(int column) {
        HDITEMA item{};
        item.mask = HDI_FORMAT;
        header.GetItem(column, &item);
        return (item.fmt & HDF_OWNERDRAW) != 0;
    }
    void Draw(Canvas& canvas, int column, UINT state) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_HEADER;
        item.itemID = static_cast<UINT>(column);
        item.itemState = state;
        item.hDC = canvas.dc();
        item.rcItem = {0, 0, 80, 20};
        header.DrawItem(&item);
    }

    ZipdexTestDatabase database{"PROVINCE,DC,YZBM,DHQH\n"};
    CLookupDialog dialog;
    CFlatHeaderCtrl& header = dialog.m_listResult.GetFlatHeader();
};

TEST_F(FlatHeader, OnlySortedColumnsBecomeOwnerDrawn) {
    for (int column = 0; column < 4; ++column)
        EXPECT_FALSE(OwnerDrawn(column));
    EXPECT_EQ(-1, header.SetSortImage(2, TRUE));
    EXPECT_EQ(2, header.SetSortImage(0, TRUE));
    EXPECT_TRUE(OwnerDrawn(0));
    EXPECT_FALSE(OwnerDrawn(1));
    EXPECT_TRUE(OwnerDrawn(2));
    EXPECT_EQ(0, header.GetSortColumn());
}

TEST_F(FlatHeader, AscendingArrowHasLightRightEdgeAndBase) {
    header.SetSortImage(0, TRUE);
    Canvas canvas(80, 20, kUnpainted);
    Draw(canvas, 0, 0);
    EXPECT_EQ(kHighlight, canvas.At(70, 11));
    EXPECT_EQ(kHighlight, canvas.At(64, 14));
    EXPECT_EQ(kFace, canvas.At(63, 14)) << "line end points are not drawn";
    EXPECT_EQ(kShadow, canvas.At(64, 13));
    EXPECT_EQ(kShadow, canvas.At(67, 7));
    EXPECT_EQ(kFace, canvas.At(79, 19));
}

TEST_F(FlatHeader, DescendingArrowHasDarkLeftEdgeAndTop) {
    header.SetSortImage(0, FALSE);
    Canvas canvas(80, 20, kUnpainted);
    Draw(canvas, 0, 0);
    EXPECT_EQ(kHighlight, canvas.At(71, 5));
    EXPECT_EQ(kHighlight, canvas.At(68, 12));
    EXPECT_EQ(kShadow, canvas.At(67, 14));
    EXPECT_EQ(kShadow, canvas.At(66, 10));
    EXPECT_EQ(kShadow, canvas.At(65, 5));
    EXPECT_EQ(kShadow, canvas.At(70, 5));
}

TEST_F(FlatHeader, PressedTextMovesButTheArrowStays) {
    header.SetSortImage(1, TRUE);
    Canvas normal(80, 20, kUnpainted);
    Canvas pressed(80, 20, kUnpainted);
    Draw(normal, 1, 0);
    Draw(pressed, 1, ODS_SELECTED);
    int differences = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 58; ++x)
            differences += normal.At(x, y) != pressed.At(x, y);
    EXPECT_GT(differences, 0) << "the heading text moved";
    for (int x = 60; x < 80; ++x)
        EXPECT_EQ(normal.At(x, 14), pressed.At(x, 14)) << x;
    for (int y = 0; y < 20; ++y)
        EXPECT_EQ(normal.At(68, y), pressed.At(68, y));
}

TEST_F(FlatHeader, FrameAndDividersFollowTheColumnWidths) {
    Canvas canvas(400, 20, kUnpainted);
    CDC dc(canvas.dc());
    header.PaintFlatFrame(dc, CRect(0, 0, 400, 20));
    EXPECT_EQ(kHighlight, canvas.At(5, 0));
    EXPECT_EQ(kHighlight, canvas.At(0, 10));
    EXPECT_EQ(kShadow, canvas.At(5, 19));
    EXPECT_EQ(kFace, canvas.At(5, 1));
    EXPECT_EQ(kFace, canvas.At(399, 10)) << "right edge repainted in face colour";
    for (int divider : {80, 160, 260, 360}) {
        EXPECT_EQ(kShadow, canvas.At(divider, 10)) << divider;
        EXPECT_EQ(kHighlight, canvas.At(divider + 1, 10)) << divider;
        EXPECT_EQ(kFace, canvas.At(divider - 1, 10)) << divider;
        EXPECT_EQ(kFace, canvas.At(divider - 2, 10)) << divider;
        EXPECT_EQ(kShadow, canvas.At(divider, 2)) << divider;
        EXPECT_EQ(kShadow, canvas.At(divider, 17)) << divider;
        EXPECT_EQ(kFace, canvas.At(divider, 18)) << "the inner ring, below the divider's end";
    }
}

} // namespace
