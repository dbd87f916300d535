#include "framework/windows/Dpi.h"

#include <windows.h>

int DisplayDpi() {
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        const int logical = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen)
            ::ReleaseDC(nullptr, screen);
        return logical > 0 ? logical : kDefaultDpi;
    }();
    return dpi;
}

int ScaleToDpi(int pixels, int dpi) {
    return ::MulDiv(pixels, dpi, kDefaultDpi);
}

int ScaleFromDpi(int pixels, int dpi) {
    return dpi > 0 ? ::MulDiv(pixels, kDefaultDpi, dpi) : pixels;
}
