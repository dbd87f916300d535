#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uidriver {

// A header control (SysHeader32) of another process; an index out of range throws Error.

// The header of a list view.
HWND ListHeader(HWND list);
int HeaderItemCount(HWND header);
// The item's rectangle in the header's client coordinates.
RECT HeaderItemRect(HWND header, int index);
// Posts a left button press and release at the item's centre, as a user's click: the
// header then tells its parent (HDN_ITEMCLICK, and a list view its own parent
// LVN_COLUMNCLICK).
void ClickHeaderItem(HWND header, int index);

} // namespace uidriver
