#pragma once

// Lengths the programs give in pixels are meant for a display of 96 DPI, the platform's
// default. The programs are system DPI aware, so on another display they scale each length
// themselves; at 96 DPI every length stays what it is.
constexpr int kDefaultDpi = 96;

// The display's DPI as the program sees it (the system DPI), read once.
int DisplayDpi();
// A length at 96 DPI as a length at dpi, rounded to the nearest pixel (halves away from zero).
int ScaleToDpi(int pixels, int dpi);
// A length at dpi as a length at 96 DPI, the same rounding.
int ScaleFromDpi(int pixels, int dpi);
// A length at 96 DPI on this display.
inline int ScalePixels(int pixels) {
    return ScaleToDpi(pixels, DisplayDpi());
}
