#include "LookupDialog.h"

#include <climits>
#include <cstring>

#include "framework/windows/App.h"
#include "framework/windows/DataExchange.h"
#include "framework/windows/RedrawPause.h"
#include "framework/windows/Dpi.h"
#include "framework/windows/ScaledBitmap.h"
#include "DialogAbout.h"
#include "framework/ctrl/ImageList.h"
#include "PostalDatabase.h"
#include "SearchStatements.h"
#include "VendorSite.h"

namespace {

const COLORREF kMaskColour = RGB(255, 0, 255);
const int kImageSize = 16;
const char kHomeLinkText[] = "澜图软件 荣誉出品 " LUMIVANE_VENDOR_HOST;
const char kHelpLinkText[] = "如果您在软件的使用过程中遇到了问题,该怎么办？";
const char kHelpLinkTarget[] = LUMIVANE_VENDOR_ADDRESS "/inc/news_info.asp?newsid=14";

struct ResultColumn {
    const char* heading;
    int width; // at 96 DPI
};
const ResultColumn kResultColumns[] = {
    {"省份", 80}, {"地区", 80}, {"邮政编码", 100}, {"电话区号", 100}};

// The text goes on the clipboard as plain GBK text; false when it could not be put there.
bool PutClipboardText(HWND owner, const CString& text) {
    // Prepared before the clipboard is emptied, so a failed allocation leaves it as it was.
    const SIZE_T size = static_cast<SIZE_T>(text.GetLength()) + 1;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory)
        return false;
    void* copy = ::GlobalLock(memory);
    if (copy) {
        std::memcpy(copy, static_cast<const char*>(text), size);
        ::GlobalUnlock(memory);
    }
    if (!copy || !::OpenClipboard(owner)) {
        ::GlobalFree(memory);
        return false;
    }
    const bool placed = ::EmptyClipboard() && ::SetClipboardData(CF_TEXT, memory);
    if (!placed)
        ::GlobalFree(memory);
    ::CloseClipboard();
    return placed;
}

} // namespace

CLookupDialog::CLookupDialog(CDatabase& database, CWnd* parent)
    : CIconDialog(IDD_LOOKUP, IDI_ZIPDEX, parent), m_database(database) {}

const MessageMap* CLookupDialog::GetMessageMap() const {
    static const MessageMap map(
        CIconDialog::GetMessageMap(),
        {
            OnMessage<WM_PAINT, &CLookupDialog::OnPaint>(),
            OnMessage<WM_QUERYDRAGICON, &CLookupDialog::OnQueryDragIcon>(),
            OnNotify<&CLookupDialog::OnSelchangedTree>(TVN_SELCHANGEDA, IDC_TREE_PROVINCE),
            OnCommand<&CLookupDialog::OnSearch>(IDC_BUTTON_SEARCH), // IDOK: Enter as well
            OnCommand<&CLookupDialog::OnCopy>(IDC_BUTTON_COPY),
            OnCommand<&CLookupDialog::OnAbout>(IDC_BUTTON_ABOUT),
        });
    return &map;
}

void CLookupDialog::DoDataExchange(CDataExchange* exchange) {
    DDX_Control(exchange, IDC_LIST_RESULT, m_listResult);
    DDX_Control(exchange, IDC_TREE_PROVINCE, m_treeProvince);
    DDX_CBIndex(exchange, IDC_COMBO_FIELD, m_nSearchField);
    DDX_Text(exchange, IDC_EDIT_VALUE, m_strSearchValue);
    DDX_Control(exchange, IDC_BUTTON_SEARCH, m_btnSearch);
    DDX_Control(exchange, IDC_BUTTON_COPY, m_btnCopy);
    DDX_Control(exchange, IDC_BUTTON_ABOUT, m_btnAbout);
    DDX_Control(exchange, IDC_LINK_HELP, m_linkHelp);
    DDX_Control(exchange, IDC_LINK_HOME, m_linkHome);
}

BOOL CLookupDialog::OnInitDialog() {
    CIconDialog::OnInitDialog();

    m_linkHome.SetUpLink(kHomeLinkText, LUMIVANE_VENDOR_ADDRESS, TRUE);

    m_treeProvince.SetImageList(LoadImageStrip(IDB_TREE_IMAGES));
    m_listResult.SetImageList(LoadImageStrip(IDB_LIST_IMAGES), LVSIL_SMALL);

    m_linkHelp.SetUpLink(kHelpLinkText, kHelpLinkTarget, TRUE);

    {
        // Otherwise the list lays itself out and invalidates again for every column.
        CRedrawPause pause(m_listResult);
        int column = 0;
        for (const ResultColumn& heading : kResultColumns)
            m_listResult.InsertColumn(column++, heading.heading, LVCFMT_LEFT,
                                      ScalePixels(heading.width));
        m_listResult.AddExtendedStyle(LVS_EX_FULLROWSELECT);
    }

    const HTREEITEM root = m_treeProvince.InsertItem("邮编区号查询", 0, 0, TVI_ROOT, TVI_LAST);
    LoadProvinceTree(root);
    return TRUE;
}

// For the control that takes it: the tree frees it through its wrapper, the list by itself.
HIMAGELIST CLookupDialog::LoadImageStrip(UINT bitmapId) {
    CBitmap bitmap;
    bitmap.Attach(LoadBitmapForDpi(bitmapId, kImageSize, kMaskColour, DisplayDpi()));
    CImageList images;
    images.Create(ScalePixels(kImageSize), ScalePixels(kImageSize), ILC_COLORDDB | ILC_MASK, 1, 1);
    images.Add(bitmap, kMaskColour);
    return images.Detach();
}

void CLookupDialog::LoadProvinceTree(HTREEITEM root) {
    CRecordset rows(&m_database);
    rows.Open(AFX_DB_USE_DEFAULT_TYPE, kProvinceListStatement, 0);
    while (!rows.IsEOF()) {
        m_treeProvince.InsertItem(GetFieldText(rows, "PROVINCE"), 1, 1, root, TVI_LAST);
        rows.MoveNext();
    }
    rows.Close();
    m_treeProvince.Expand(root, TVE_EXPAND);
}

void CLookupDialog::FillResultList(CString statement) {
    if (statement.IsEmpty()) {
        const HTREEITEM selected = m_treeProvince.GetSelectedItem();
        if (!selected || selected == m_treeProvince.GetRootItem())
            return;
        statement = BuildProvinceStatement(m_treeProvince.GetItemText(selected));
    }
    CRedrawPause pause(m_listResult);
    m_listResult.DeleteAllItems();
    CRecordset rows(&m_database);
    rows.Open(AFX_DB_USE_DEFAULT_TYPE, statement, 0);
    while (!rows.IsEOF()) {
        // The list puts a row given past its end at the end, which saves asking for the count.
        const int row = m_listResult.InsertItem(INT_MAX, GetFieldText(rows, "PROVINCE"), 0);
        m_listResult.SetItemText(row, 1, GetFieldText(rows, "DC"));
        m_listResult.SetItemText(row, 2, GetFieldText(rows, "YZBM"));
        m_listResult.SetItemText(row, 3, GetFieldText(rows, "DHQH"));
        rows.MoveNext();
    }
    rows.Close();
}

void CLookupDialog::OnSelchangedTree(NMHDR*, LRESULT* result) {
    FillResultList(CString());
    *result = 0;
}

void CLookupDialog::OnSearch() {
    UpdateData(TRUE);
    if (m_strSearchValue.IsEmpty())
        return;
    const CString statement = BuildSearchStatement(m_nSearchField, m_strSearchValue);
    if (statement.IsEmpty()) {
        AfxMessageBox("请先输入查询条件，然后再尝试查询！");
        return;
    }
    m_treeProvince.SelectItem(m_treeProvince.GetRootItem());
    FillResultList(statement);
}

void CLookupDialog::OnCopy() {
    if (m_listResult.GetSelectedCount() == 0) {
        AfxMessageBox("您没有选择要复制的项目。");
        return;
    }
    const HWND header = m_listResult.GetHeaderCtrl();
    auto columnCount = [header] {
        return static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    };
    CString text;
    for (int row = m_listResult.GetNextItem(-1, LVNI_SELECTED); row != -1;
         row = m_listResult.GetNextItem(row, LVNI_SELECTED)) {
        for (int column = 0; column < columnCount(); ++column) {
            char heading[256] = {};
            HDITEMA item{};
            item.mask = HDI_TEXT;
            item.pszText = heading;
            item.cchTextMax = 255;
            ::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column),
                           reinterpret_cast<LPARAM>(&item));
            text += heading;
            text += "： ";
            text += m_listResult.GetItemText(row, column);
            text += "\r\n";
        }
    }
    if (text.IsEmpty())
        return;
    if (PutClipboardText(m_hWnd, text))
        AfxMessageBox("数据已经被复制倒内存！");
    else
        AfxMessageBox("无法把数据复制到剪贴板，请稍后再试。");
}

void CLookupDialog::OnAbout() {
    CDialogAbout about;
    about.DoModal();
}
