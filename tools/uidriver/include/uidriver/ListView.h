#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uidriver {

// A list view (SysListView32) of another process, in report view. Rows and columns count
// from 0; an index out of range throws Error.

int ListRowCount(HWND list);
// The number of columns of the list's header.
int ListColumnCount(HWND list);
std::string ListCellText(HWND list, int row, int column);
std::vector<std::string> ListRow(HWND list, int row);
std::vector<std::vector<std::string>> ListRows(HWND list);

} // namespace uidriver
