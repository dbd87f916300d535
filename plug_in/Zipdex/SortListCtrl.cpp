#include "SortListCtrl.h"

#include <cstring>
#include <vector>

#include "framework/App.h"

namespace {

// Focus, selection, cut and drop-highlight marks, overlay and state image.
constexpr UINT kRowStateMask = 0xFF0F;

} // namespace

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
    CString widths;
    for (int column = 0; column < ColumnCount(); ++column) {
        CString width;
        width.Format("%d,", GetColumnWidth(column));
        widths += width;
    }
    AfxGetApp()->WriteProfileString(m_strSection, m_strEntry, widths);
}

void CSortListCtrl::OnHeaderClicked(NMHDR* notification, LRESULT* result) {
    *result = 0;
    const auto* click = reinterpret_cast<const NMHEADERA*>(notification);
    if (click->iButton != 0)
        return;
    m_bSortAscending = click->iItem == m_nSortColumn ? !m_bSortAscending : TRUE;
    m_nSortColumn = click->iItem;
    {
        // Every swap rewrites two rows: one repaint at the end makes the sort many times faster.
        CRedrawPause pause(*this);
        SortTextItems(m_nSortColumn, m_bSortAscending, 0, -1);
    }
    m_header.SetSortImage(m_nSortColumn, m_bSortAscending);
}

int CSortListCtrl::ColumnCount() const {
    return static_cast<int>(::SendMessageA(GetHeaderCtrl(), HDM_GETITEMCOUNT, 0, 0));
}

BOOL CSortListCtrl::SortTextItems(int column, BOOL ascending, int low, int high) {
    if (column >= ColumnCount())
        return FALSE;
    if (high == -1)
        high = GetItemCount() - 1;
    if (high <= low)
        return FALSE;

    const CString pivot = GetItemText((low + high) / 2, column);
    // Negative when the row belongs before the pivot in the sort direction.
    auto order = [&](int row) {
        const int byText = CompareGbk(GetItemText(row, column), pivot);
        return ascending ? byText : -byText;
    };
    int lo = low;
    int hi = high;
    while (lo <= hi) {
        while (lo < high && order(lo) < 0)
            ++lo;
        while (hi > low && order(hi) > 0)
            --hi;
        if (lo <= hi) {
            if (GetItemText(lo, column) != GetItemText(hi, column))
                SwapRows(lo, hi);
            ++lo;
            --hi;
        }
    }
    if (low < hi)
        SortTextItems(column, ascending, low, hi);
    if (lo < high)
        SortTextItems(column, ascending, lo, high);
    return TRUE;
}

void CSortListCtrl::SwapRows(int a, int b) {
    const int columns = ColumnCount();
    std::vector<CString> savedTexts;
    for (int column = 0; column < columns; ++column)
        savedTexts.push_back(GetItemText(a, column));

    auto readRow = [this](int row) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
        item.iItem = row;
        item.stateMask = kRowStateMask;
        GetItem(&item);
        return item;
    };
    LVITEMA itemA = readRow(a);
    LVITEMA itemB = readRow(b);

    for (int column = 0; column < columns; ++column)
        SetItemText(a, column, GetItemText(b, column));
    itemB.iItem = a;
    itemB.stateMask = kRowStateMask;
    SetItem(&itemB);

    for (int column = 0; column < columns; ++column)
        SetItemText(b, column, savedTexts[static_cast<size_t>(column)]);
    itemA.iItem = b;
    itemA.stateMask = kRowStateMask;
    SetItem(&itemA);
}
