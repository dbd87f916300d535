#include "framework/ctrl/ListCtrl.h"

int CListCtrl::InsertColumn(int column, const char* heading, int format, int width) {
    LVCOLUMNA info{};
    info.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM | (width >= 0 ? LVCF_WIDTH : 0);
    info.fmt = format;
    info.cx = width;
    info.pszText = const_cast<char*>(heading);
    info.iSubItem = column;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                                        reinterpret_cast<LPARAM>(&info)));
}

int CListCtrl::InsertItem(int item, const char* text, int image) {
    LVITEMA info{};
    info.mask = LVIF_TEXT | LVIF_IMAGE;
    info.iItem = item;
    info.pszText = const_cast<char*>(text);
    info.iImage = image;
    return InsertItem(&info);
}

BOOL CListCtrl::SetItemText(int item, int subItem, const char* text) {
    LVITEMA info{};
    info.iSubItem = subItem;
    info.pszText = const_cast<char*>(text);
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    // The list copies at most the buffer's size; grow until the text fits.
    for (int capacity = 256;; capacity *= 2) {
        CString text;
        LVITEMA info{};
        info.iSubItem = subItem;
        info.cchTextMax = capacity;
        info.pszText = text.GetBuffer(capacity);
        const int length = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item),
                                                        reinterpret_cast<LPARAM>(&info)));
        text.ReleaseBuffer();
        if (length < capacity - 1 || capacity >= (1 << 20))
            return text;
    }
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    LVITEMA info{};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    GetItem(&info);
    return static_cast<DWORD_PTR>(info.lParam);
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    LVITEMA info{};
    info.mask = LVIF_PARAM;
    info.iItem = item;
    info.lParam = static_cast<LPARAM>(data);
    return SetItem(&info);
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    LVITEMA info{};
    info.state = state;
    info.stateMask = mask;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)));
}
