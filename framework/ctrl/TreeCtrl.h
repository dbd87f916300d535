#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/ctrl/ImageList.h"
#include "framework/windows/Wnd.h"

class CTreeCtrl : public CWnd {
public:
    ~CTreeCtrl() override;

    HTREEITEM InsertItem(const char* text, int image, int selectedImage,
                         HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
    }
    BOOL SelectItem(HTREEITEM item) {
        return static_cast<BOOL>(
            SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)));
    }
    BOOL Expand(HTREEITEM item, UINT code) {
        return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
    }
    UINT GetItemState(HTREEITEM item, UINT mask) const;
    CString GetItemText(HTREEITEM item) const;
    // Takes the images as the tree's normal ones and frees them when this object goes: a tree
    // control, unlike a list, never frees its image lists.
    void SetImageList(HIMAGELIST images);

private:
    CImageList m_images;
};
