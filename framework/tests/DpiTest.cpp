#include <gtest/gtest.h>

#include "framework/windows/Dpi.h"
#include "framework/windows/ScaledBitmap.h"

namespace {

TEST(DpiTest, ScalesLengthsToTheNearestPixelAndBack) {
    const struct {
        int pixels, dpi, scaled;
    } cases[] = {
        {80, 96, 80},  {80, 120, 100}, {80, 144, 120}, {80, 192, 160},
        {6, 120, 8},   {1, 120, 1},    {1, 144, 2},    {3, 144, 5},
        {16, 168, 28}, {0, 144, 0},    {-1, 144, -2},  {181, 110, 207},
    };
    for (const auto& length : cases) {
        EXPECT_EQ(ScaleToDpi(length.pixels, length.dpi), length.scaled)
            << length.pixels << " px at " << length.dpi << " DPI";
        // A length on a display of at least 96 DPI comes back as it was.
        EXPECT_EQ(ScaleFromDpi(length.scaled, length.dpi), length.pixels);
    }
}

const COLORREF kKey = RGB(255, 0, 255);
const COLORREF kRed = RGB(200, 0, 0);
const COLORREF kBlue = RGB(0, 0, 200);

PixelImage Picture(int width, int height, std::vector<COLORREF> pixels) {
    return PixelImage{width, height, std::move(pixels)};
}

TEST(DpiTest, ScalesImageStripsCellByCellWithoutBleedingTheKeyColour) {
    // Two 2 x 2 cells: red with a transparent corner, and solid blue.
    const PixelImage strip = Picture(4, 2, {kRed, kKey, kBlue, kBlue, kRed, kRed, kBlue, kBlue});

    const PixelImage doubled = ScaleImageCells(strip, 2, 192, kKey);
    ASSERT_EQ(doubled.pixels.size(), 32u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(doubled.pixels[static_cast<size_t>(y * 8 + x)],
                      strip.pixels[static_cast<size_t>(y / 2 * 4 + x / 2)])
                << "a whole multiple repeats each pixel: " << x << "," << y;

    // Red's cell never takes blue nor blue's red; the pixel half covered by red is red, the one
    // covered by the transparent corner alone stays transparent, none takes any magenta.
    const PixelImage half = ScaleImageCells(strip, 2, 144, kKey);
    EXPECT_EQ(half.width, 6);
    EXPECT_EQ(half.pixels,
              (std::vector<COLORREF>{kRed, kRed, kKey, kBlue, kBlue, kBlue, kRed, kRed, kRed, kBlue,
                                     kBlue, kBlue, kRed, kRed, kRed, kBlue, kBlue, kBlue}));
}

TEST(DpiTest, BlendsPicturesWithoutAKeyWhereTheirPixelsMeet) {
    const PixelImage pair = Picture(2, 1, {RGB(0, 0, 0), RGB(90, 180, 240)});
    const PixelImage wider = ScaleImageCells(pair, 0, 144, CLR_NONE);
    const COLORREF between = RGB(45, 90, 120);
    EXPECT_EQ(wider.pixels, (std::vector<COLORREF>{RGB(0, 0, 0), between, RGB(90, 180, 240),
                                                   RGB(0, 0, 0), between, RGB(90, 180, 240)}));
}

} // namespace
