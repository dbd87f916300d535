#include "SortArrow.h"

std::vector<ArrowStroke> SortArrowStrokes(const RECT& item, int margin, bool ascending) {
    const int m = margin;
    const int r = item.right;
    const int b = item.bottom;
    if (ascending)
        return {
            {true, {{r - 2 * m, m - 1}, {r - 3 * m / 2, b - m}, {r - 5 * m / 2 - 2, b - m}}},
            {false, {{r - 5 * m / 2 - 1, b - m - 1}, {r - 2 * m, m - 2}}},
        };
    return {
        {true, {{r - 3 * m / 2, m - 1}, {r - 2 * m - 1, b - m + 1}}},
        {false, {{r - 2 * m - 1, b - m}, {r - 5 * m / 2 - 1, m - 1}, {r - 3 * m / 2, m - 1}}},
    };
}
