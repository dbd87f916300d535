#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

// A picture as colour references, row by row from the top.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};

// A picture of cells side by side (an image strip), each cellWidth pixels wide, scaled from
// 96 DPI to dpi cell by cell, so that no cell bleeds into the next. Each pixel of the result is
// the area-weighted mean of the pixels it covers: whole multiples repeat pixels unchanged, other
// factors blend only at the edges between pixels. Pixels of the key colour are transparent:
// they take no part in the mean, and a pixel less than half covered by others stays the key
// colour, so no key colour seeps into the picture's edge. CLR_NONE: a picture without one;
// cellWidth 0: one picture, no cells.
PixelImage ScaleImageCells(const PixelImage& source, int cellWidth, int dpi, COLORREF key);

// The header of a 32-bit device-independent bitmap whose rows run from the top.
BITMAPINFO TopDownBitmapInfo(int width, int height);

// The bitmap resource scaled as above for a display of dpi; at 96 DPI the resource as it is.
// The caller owns the bitmap.
HBITMAP LoadBitmapForDpi(UINT id, int cellWidth, COLORREF key, int dpi);
