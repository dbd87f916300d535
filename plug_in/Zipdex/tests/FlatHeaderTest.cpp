#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "Canvas.h"
#include "LookupDialog.h"
#include "ZipdexTestDatabase.h"

namespace {

// Whatever the painting under test leaves alone keeps this colour.
constexpr COLORREF kUnpainted = RGB(1, 2, 3);
const COLORREF kFace = GetSysColor(COLOR_BTNFACE);
const COLORREF kHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
const COLORREF kShadow = GetSysColor(COLOR_BTNSHADOW);

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

TEST_F(FlatHeader, ArrowsHaveLightRightEdgesAndDarkLeftEdges) {
    // Up: light right edge and base, dark left edge; down: light right edge, dark left and top.
    const struct {
        BOOL ascending;
        int x, y;
        COLORREF colour;
    } pixels[] = {
        {TRUE, 70, 11, kHighlight}, {TRUE, 64, 14, kHighlight},  {TRUE, 63, 14, kFace},
        {TRUE, 64, 13, kShadow},    {TRUE, 67, 7, kShadow},      {TRUE, 79, 19, kFace},
        {FALSE, 71, 5, kHighlight}, {FALSE, 68, 12, kHighlight}, {FALSE, 67, 14, kShadow},
        {FALSE, 66, 10, kShadow},   {FALSE, 65, 5, kShadow},     {FALSE, 70, 5, kShadow},
    };
    for (BOOL ascending : {TRUE, FALSE}) {
        header.SetSortImage(0, ascending);
        Canvas canvas(80, 20, kUnpainted);
        Draw(canvas, 0, 0);
        for (const auto& pixel : pixels)
            if (pixel.ascending == ascending)
                EXPECT_EQ(pixel.colour, canvas.At(pixel.x, pixel.y))
                    << ascending << " " << pixel.x << "," << pixel.y;
    }
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
