#pragma once

#include <windows.h>

#include <vector>

// One stroke of the header's sort arrow: a polyline drawn with the highlight or shadow pen,
// each line excluding its end point.
struct ArrowStroke {
    bool highlight;
    std::vector<POINT> points;
};

// The strokes of the arrow for an item rectangle; margin is the header's layout unit.
std::vector<ArrowStroke> SortArrowStrokes(const RECT& item, int margin, bool ascending);
