#include "uidriver/ListView.h"

#include <commctrl.h>

#include "RemoteText.h"
#include "uidriver/Error.h"
#include "uidriver/Header.h"

namespace uidriver {

namespace {

void CheckRow(HWND list, int row) {
    const int count = ListRowCount(list);
    if (row < 0 || row >= count) {
        throw Error("list has " + std::to_string(count) + " rows, no row " + std::to_string(row));
    }
}

} // namespace

int ListRowCount(HWND list) {
    return static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
}

int ListColumnCount(HWND list) {
    return HeaderItemCount(ListHeader(list));
}

std::string ListCellText(HWND list, int row, int column) {
    CheckRow(list, row);
    const int columns = ListColumnCount(list);
    if (column < 0 || column >= columns) {
        throw Error("list has " + std::to_string(columns) + " columns, no column " +
                    std::to_string(column));
    }
    return SendForText<LVITEMA>(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                                [&](LVITEMA& item, LPSTR buffer, int capacity) {
                                    item.iSubItem = column;
                                    item.pszText = buffer;
                                    item.cchTextMax = capacity;
                                })
        .text;
}

std::vector<std::string> ListRow(HWND list, int row) {
    const int columns = ListColumnCount(list);
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column) {
        cells.push_back(ListCellText(list, row, column));
    }
    return cells;
}

std::vector<std::vector<std::string>> ListRows(HWND list) {
    std::vector<std::vector<std::string>> rows;
    const int count = ListRowCount(list);
    for (int row = 0; row < count; ++row) {
        rows.push_back(ListRow(list, row));
    }
    return rows;
}

} // namespace uidriver
