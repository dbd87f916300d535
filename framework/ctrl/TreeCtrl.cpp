#include "framework/ctrl/TreeCtrl.h"

CTreeCtrl::~CTreeCtrl() {
    // A window that outlives this object must not keep the list freed with it.
    if (m_images.m_hImageList && ::IsWindow(m_hWnd))
        SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
}

void CTreeCtrl::SetImageList(HIMAGELIST images) {
    SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    m_images.Attach(images);
}

HTREEITEM CTreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const {
    TVITEMA info{};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.stateMask = mask;
    SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return info.state & mask;
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const {
    char buffer[1024] = {};
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = buffer;
    info.cchTextMax = sizeof buffer;
    SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return CString(buffer);
}
