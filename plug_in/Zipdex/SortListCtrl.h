#pragma once

#include <vector>

#include "FlatHeaderCtrl.h"
#include "framework/ctrl/ListCtrl.h"

// The result list: a heading click sorts the rows in place by that column's text, turning
// the direction on a second click; the widths are saved to the profile when it goes.
class CSortListCtrl : public CListCtrl {
public:
    void PreSubclassWindow() override;
    const MessageMap* GetMessageMap() const override;

    // Replaces the list's header by the flat one; 0 on success, -1 when it cannot be attached.
    int AttachHeader();
    void AddExtendedStyle(DWORD style);
    void SetWidthProfile(const char* section, const char* entry);
    void SaveColumnWidths();
    // Sorts rows low to high (high -1: the last row) by the texts of column, keeping the order
    // of rows with equal texts; rows move with their image, data and state.
    BOOL SortTextItems(int column, BOOL ascending, int low = 0, int high = -1);

    CFlatHeaderCtrl& GetFlatHeader() { return m_header; }

private:
    int OnCreate(LPCREATESTRUCTA create);
    void OnDestroy();
    void OnHeaderClicked(NMHDR* notification, LRESULT* result);
    // A row's cell texts with its image, item data and state bits.
    struct ListRow {
        std::vector<CString> texts;
        LVITEMA item{};
    };
    int ColumnCount() const;
    ListRow ReadRow(int row, int columns) const;
    void WriteRow(int row, const ListRow& content, const ListRow& replaced);

    int m_nSortColumn = -1;
    BOOL m_bSortAscending = TRUE;
    BOOL m_bSaveWidths = FALSE;
    CString m_strSection;
    CString m_strEntry;
    CFlatHeaderCtrl m_header;
};

// The profile's value for the columns' widths on a display of dpi: each width at 96 DPI and a
// comma after it, so that the stored value means the same on every display.
CString ColumnWidthsProfileText(const std::vector<int>& widths, int dpi);

// Orders two narrow texts by their GBK code values, character by character; case matters.
int CompareGbk(const char* a, const char* b);
