#pragma once

#include <windows.h>

// A 32-bit top-down DIB selected into a memory drawing context, for pixel tests.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    COLORREF At(int x, int y) const;
    void Fill(COLORREF color);

private:
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    DWORD* m_bits = nullptr;
    int m_width;
    int m_height;
};
