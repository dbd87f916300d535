#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <tuple>
#include <vector>

#include "Canvas.h"
#include "ZipdexTestSupport.h"

namespace {

// Whatever the painting under test leaves alone keeps this colour.
constexpr COLORREF kUnpainted = RGB(1, 2, 3);
const COLORREF kFace = GetSysColor(COLOR_BTNFACE);
const COLORREF kHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
const COLORREF kShadow = GetSysColor(COLOR_BTNSHADOW);

class FlatHeader : public LookupDialogTest {
protected:
    // The first heading, drawn into an 80 by 20 canvas.
    void Draw(Canvas& canvas, UINT state) {
        DRAWITEMSTRUCT item{ODT_HEADER, 0, 0, 0, state, nullptr, canvas.dc(), {0, 0, 80, 20}, 0};
        header.DrawItem(&item);
    }

    CFlatHeaderCtrl& header = list.GetFlatHeader();
};

TEST_F(FlatHeader, ArrowsHaveLightRightEdgesAndStayWhenTheTextMovesWhilePressed) {
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
        Canvas normal(80, 20, kUnpainted);
        Canvas pressed(80, 20, kUnpainted);
        Draw(normal, 0);
        Draw(pressed, ODS_SELECTED);
        for (const auto& pixel : pixels)
            EXPECT_TRUE(pixel.ascending != ascending || pixel.colour == normal.At(pixel.x, pixel.y))
                << ascending << " " << pixel.x << "," << pixel.y;
        // The text ends 24 pixels before the right edge, one pixel later while pressed.
        int textMoved = 0, arrowMoved = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 80; ++x)
                (x < 58 ? textMoved : arrowMoved) += normal.At(x, y) != pressed.At(x, y);
        EXPECT_GT(textMoved, 0);
        EXPECT_EQ(0, arrowMoved);
    }
}

TEST_F(FlatHeader, FrameAndDividersFollowTheColumnWidths) {
    Canvas canvas(400, 20, kUnpainted);
    CDC dc(canvas.dc());
    header.PaintFlatFrame(dc, CRect(0, 0, 400, 20));
    // Raised outer edge, face-coloured inner ring, the right edge repainted in face colour.
    std::vector<std::tuple<int, int, COLORREF>> pixels = {
        {5, 0, kHighlight}, {0, 10, kHighlight}, {5, 19, kShadow}, {5, 1, kFace}, {399, 10, kFace}};
    // Each divider: shadow, highlight right of it, face left of it, ending above the ring.
    for (int x : {80, 160, 260, 360})
        pixels.insert(pixels.end(), {{x, 10, kShadow},
                                     {x + 1, 10, kHighlight},
                                     {x - 1, 10, kFace},
                                     {x - 2, 10, kFace},
                                     {x, 2, kShadow},
                                     {x, 17, kShadow},
                                     {x, 18, kFace}});
    for (const auto& [x, y, colour] : pixels)
        EXPECT_EQ(colour, canvas.At(x, y)) << x << "," << y;
}

} // namespace
