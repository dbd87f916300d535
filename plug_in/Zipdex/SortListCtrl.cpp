#include "SortListCtrl.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "framework/windows/App.h"
#include "framework/windows/RedrawPause.h"
#include "framework/windows/Dpi.h"

namespace {

// Focus, selection, cut and drop-highlight marks, overlay and state image.
constexpr UINT kRowStateMask = 0xFF0F;

} // namespace

CString ColumnWidthsProfileText(const std::vector<int>& widths, int dpi) {
    CString text;
    for (int width : widths) {
        CString entry;
        entry.Format("%d,", ScaleFromDpi(width, dpi));
        text += entry;
    }
    return text;
}

int CompareGbk(const char* a, const char* b) {
    // Two-byte characters compare as lead * 256 + trail, which is the byte order.
    return std::strcmp(a, b);
}

const MessageMap* CSortListCtrl::GetMessageMap() const {
    static const MessageMap map(CListCtrl::GetMessageMap(),
                                {
                                    OnMessage<WM_CREATE, &CSortListCtrl::OnCreate>(),
                                    OnMessage<WM_DESTROY, &CSortListCtrl::OnDestroy>(),
                                    OnNotify<&CSortListCtrl::OnHeaderClicked>(HDN_ITEMCLICKA, 0),
                                });
    return &map;
}

void CSortListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    AttachHeader();
}

int CSortListCtrl::OnCreate(LPCREATESTRUCTA) {
    if (Default() == -1)
        return -1;
    return AttachHeader();
}

int CSortListCtrl::AttachHeader() {
    if (!m_header.SubclassWindow(::GetDlgItem(m_hWnd, 0)))
        return -1;
    m_header.CreateHeaderFont();
    SetWidthProfile("Settings", "Control");
    return 0;
}

void CSortListCtrl::AddExtendedStyle(DWORD style) {
    SetExtendedStyle(GetExtendedStyle() | style);
}

void CSortListCtrl::SetWidthProfile(const char* section, const char* entry) {
    m_strSection = section;
    m_strEntry = entry;
    m_bSaveWidths = TRUE;
}

void CSortListCtrl::OnDestroy() {
    if (m_bSaveWidths)
        SaveColumnWidths();
    Default();
}

void CSortListCtrl::SaveColumnWidths() {
    std::vector<int> widths;
    for (int column = 0; column < ColumnCount(); ++column)
        widths.push_back(GetColumnWidth(column));
    AfxGetApp()->WriteProfileString(m_strSection, m_strEntry,
                                    ColumnWidthsProfileText(widths, DisplayDpi()));
}

void CSortListCtrl::OnHeaderClicked(NMHDR* notification, LRESULT* result) {
    *result = 0;
    const auto* click = reinterpret_cast<const NMHEADERA*>(notification);
    if (click->iButton != 0)
        return;
    m_bSortAscending = click->iItem == m_nSortColumn ? !m_bSortAscending : TRUE;
    m_nSortColumn = click->iItem;
    {
        // Each rewritten row would repaint: one repaint at the end makes the sort many times
        // faster.
        CRedrawPause pause(*this);
        SortTextItems(m_nSortColumn, m_bSortAscending, 0, -1);
    }
    m_header.SetSortImage(m_nSortColumn, m_bSortAscending);
}

int CSortListCtrl::ColumnCount() const {
    return static_cast<int>(::SendMessageA(GetHeaderCtrl(), HDM_GETITEMCOUNT, 0, 0));
}

BOOL CSortListCtrl::SortTextItems(int column, BOOL ascending, int low, int high) {
    const int columns = ColumnCount();
    if (column < 0 || column >= columns)
        return FALSE;
    if (high == -1)
        high = GetItemCount() - 1;
    if (high <= low)
        return FALSE;

    // Each cell is read once and the rows are ordered in memory by a merge sort: n log n steps
    // and a shallow stack whatever the order of the rows.
    std::vector<ListRow> rows;
    rows.reserve(static_cast<size_t>(high - low + 1));
    for (int row = low; row <= high; ++row)
        rows.push_back(ReadRow(row, columns));
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    // Stable, so rows with equal texts keep the order they had.
    std::stable_sort(order.begin(), order.end(), [&rows, column, ascending](size_t a, size_t b) {
        const char* textA = rows[a].texts[static_cast<size_t>(column)];
        const char* textB = rows[b].texts[static_cast<size_t>(column)];
        return ascending ? CompareGbk(textA, textB) < 0 : CompareGbk(textB, textA) < 0;
    });
    for (size_t target = 0; target < order.size(); ++target)
        if (order[target] != target)
            WriteRow(low + static_cast<int>(target), rows[order[target]], rows[target]);
    return TRUE;
}

CSortListCtrl::ListRow CSortListCtrl::ReadRow(int row, int columns) const {
    ListRow read;
    for (int column = 0; column < columns; ++column)
        read.texts.push_back(GetItemText(row, column));
    read.item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    read.item.iItem = row;
    read.item.stateMask = kRowStateMask;
    GetItem(&read.item);
    return read;
}

// Cells that already hold the text are left alone: each write is a message to the list.
void CSortListCtrl::WriteRow(int row, const ListRow& content, const ListRow& replaced) {
    LVITEMA item = content.item;
    item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = row;
    item.iSubItem = 0;
    item.stateMask = kRowStateMask;
    if (content.texts[0] != replaced.texts[0]) {
        item.mask |= LVIF_TEXT;
        item.pszText = const_cast<char*>(static_cast<const char*>(content.texts[0]));
    }
    SetItem(&item);
    for (size_t column = 1; column < content.texts.size(); ++column)
        if (content.texts[column] != replaced.texts[column])
            SetItemText(row, static_cast<int>(column), content.texts[column]);
}
