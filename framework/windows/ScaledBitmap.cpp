#include "framework/windows/ScaledBitmap.h"

#include <algorithm>

#include "framework/base/Module.h"
#include "framework/windows/Dpi.h"

namespace {

// The source pixels that one target pixel covers along an axis, and how much of each, in
// 1/targetCount of a source pixel: whole numbers, so that a pixel exactly half covered is
// decided the same way on every machine.
struct Span {
    int first = 0;
    std::vector<long long> weights;
};

Span Coverage(int target, int count, int targetCount) {
    const long long begin = static_cast<long long>(target) * count;
    const long long end = begin + count;
    Span span;
    span.first = static_cast<int>(begin / targetCount);
    for (long long i = span.first; i < count && i * targetCount < end; ++i)
        span.weights.push_back(std::min(end, (i + 1) * targetCount) -
                               std::max(begin, i * targetCount));
    return span;
}

COLORREF MeanColour(const PixelImage& source, int left, const Span& across, const Span& down,
                    COLORREF key) {
    long long red = 0, green = 0, blue = 0, opaque = 0, total = 0;
    for (size_t j = 0; j < down.weights.size(); ++j) {
        const COLORREF* row = &source.pixels[(down.first + j) * source.width + left + across.first];
        for (size_t i = 0; i < across.weights.size(); ++i) {
            const long long weight = down.weights[j] * across.weights[i];
            total += weight;
            if (row[i] == key)
                continue;
            opaque += weight;
            red += weight * GetRValue(row[i]);
            green += weight * GetGValue(row[i]);
            blue += weight * GetBValue(row[i]);
        }
    }
    if (opaque == 0 || opaque * 2 < total)
        return key;
    auto channel = [opaque](long long sum) {
        return static_cast<BYTE>((2 * sum + opaque) / (2 * opaque));
    };
    const COLORREF mean = RGB(channel(red), channel(green), channel(blue));
    // A blend that happens to hit the key colour would turn transparent.
    return mean == key ? mean ^ 1 : mean;
}

} // namespace

PixelImage ScaleImageCells(const PixelImage& source, int cellWidth, int dpi, COLORREF key) {
    PixelImage target;
    if (cellWidth == 0)
        cellWidth = source.width;
    if (cellWidth <= 0 || source.width < cellWidth || source.height <= 0 ||
        source.pixels.size() != static_cast<size_t>(source.width) * source.height)
        return target;
    const int cells = source.width / cellWidth;
    const int targetCell = std::max(1, ScaleToDpi(cellWidth, dpi));
    target.width = cells * targetCell;
    target.height = std::max(1, ScaleToDpi(source.height, dpi));
    target.pixels.assign(static_cast<size_t>(target.width) * target.height,
                         key == CLR_NONE ? RGB(0, 0, 0) : key);
    for (int y = 0; y < target.height; ++y) {
        const Span down = Coverage(y, source.height, target.height);
        for (int x = 0; x < targetCell; ++x) {
            const Span across = Coverage(x, cellWidth, targetCell);
            for (int cell = 0; cell < cells; ++cell)
                target.pixels[static_cast<size_t>(y) * target.width + cell * targetCell + x] =
                    MeanColour(source, cell * cellWidth, across, down, key);
        }
    }
    return target;
}

BITMAPINFO TopDownBitmapInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

namespace {

// 32-bit DIB pixels are blue, green, red and a spare byte: a COLORREF with red and blue swapped.
COLORREF SwapRedBlue(DWORD value) {
    return RGB(GetBValue(value), GetGValue(value), GetRValue(value));
}

} // namespace

HBITMAP LoadBitmapForDpi(UINT id, int cellWidth, COLORREF key, int dpi) {
    HBITMAP loaded = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
    BITMAP size{};
    if (!loaded || dpi == kDefaultDpi || !::GetObjectA(loaded, sizeof size, &size))
        return loaded;
    PixelImage source;
    source.width = size.bmWidth;
    source.height = size.bmHeight;
    source.pixels.resize(static_cast<size_t>(source.width) * source.height);
    BITMAPINFO info = TopDownBitmapInfo(source.width, source.height);
    HDC screen = ::GetDC(nullptr);
    const int rows =
        ::GetDIBits(screen, loaded, 0, source.height, source.pixels.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != source.height)
        return loaded;
    for (COLORREF& pixel : source.pixels)
        pixel = SwapRedBlue(pixel);
    const PixelImage scaled = ScaleImageCells(source, cellWidth, dpi, key);
    if (scaled.pixels.empty())
        return loaded;
    info = TopDownBitmapInfo(scaled.width, scaled.height);
    void* bits = nullptr;
    HBITMAP result = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!result)
        return loaded;
    auto* out = static_cast<DWORD*>(bits);
    for (COLORREF pixel : scaled.pixels)
        *out++ = SwapRedBlue(pixel);
    ::DeleteObject(loaded);
    return result;
}
