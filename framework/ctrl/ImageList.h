#pragma once

#include <windows.h>
#include <commctrl.h>

// Owns an image list until it is detached and handed to a control.
class CImageList {
public:
    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() { DeleteImageList(); }

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // Adds a bitmap strip; pixels of the mask colour become transparent.
    int Add(HBITMAP bitmap, COLORREF mask) {
        return ImageList_AddMasked(m_hImageList, bitmap, mask);
    }
    BOOL DeleteImageList();
    // Frees the list held so far and takes this one.
    void Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    operator HIMAGELIST() const { return m_hImageList; }

    HIMAGELIST m_hImageList = nullptr;
};
