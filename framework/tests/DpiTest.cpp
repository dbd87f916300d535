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
    EXPECT_EQ(DisplayDpi(), kDefaultDpi) << "the tests' Wine prefix keeps 96 DPI";
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
    ASSERT_EQ(doubled.width, 8);
    ASSERT_EQ(doubled.height, 4);
    const std::vector<COLORREF> expected = {kRed, kRed, kKey, kKey, kBlue, kBlue, kBlue, kBlue,
                                            kRed, kRed, kKey, kKey, kBlue, kBlue, kBlue, kBlue,
                                            kRed, kRed, kRed, kRed, kBlue, kBlue, kBlue, kBlue,
                                            kRed, kRed, kRed, kRed, kBlue, kBlue, kBlue, kBlue};
    EXPECT_EQ(doubled.pixels, expected) << "a whole multiple repeats each pixel";

    const PixelImage half = ScaleImageCells(strip, 2, 144, kKey);
    ASSERT_EQ(half.width, 6);
    ASSERT_EQ(half.height, 3);
    for (int y = 0; y < half.height; ++y)
        for (int x = 0; x < half.width; ++x) {
            const COLORREF pixel = half.pixels[static_cast<size_t>(y * half.width + x)];
            // Red's cell never takes blue and blue's never red; an edge pixel is either the key
            // or a colour without any of the key's magenta in it.
            if (x < 3)
                EXPECT_TRUE(pixel == kKey || pixel == kRed) << x << "," << y;
            else
                EXPECT_EQ(pixel, kBlue) << x << "," << y;
        }
    EXPECT_EQ(half.pixels[2], kKey) << "the corner stays transparent";
    EXPECT_EQ(half.pixels[1], kRed) << "a pixel half covered by red is red";
}

TEST(DpiTest, BlendsPicturesWithoutAKeyWhereTheirPixelsMeet) {
    const PixelImage pair = Picture(2, 1, {RGB(0, 0, 0), RGB(90, 180, 240)});
    const PixelImage wider = ScaleImageCells(pair, 0, 144, CLR_NONE);
    ASSERT_EQ(wider.width, 3);
    ASSERT_EQ(wider.height, 2);
    const std::vector<COLORREF> row = {RGB(0, 0, 0), RGB(45, 90, 120), RGB(90, 180, 240)};
    EXPECT_EQ(std::vector<COLORREF>(wider.pixels.begin(), wider.pixels.begin() + 3), row);
    EXPECT_EQ(std::vector<COLORREF>(wider.pixels.begin() + 3, wider.pixels.end()), row);
}

} // namespace
