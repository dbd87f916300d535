#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "framework/windows/MessagePump.h"
#include "ZipdexTestSupport.h"
#include "uidriver/Clipboard.h"

namespace {

class LookupDialog : public LookupDialogTest {
protected:
    void SelectProvince(const char* name) {
        CTreeCtrl& tree = dialog.m_treeProvince;
        for (HTREEITEM item = tree.GetChildItem(tree.GetRootItem()); item;
             item = tree.GetNextSiblingItem(item))
            if (tree.GetItemText(item) == name)
                tree.SelectItem(item);
    }
    void Search(int field, const char* value) {
        SendDlgItemMessageA(dialog.m_hWnd, IDC_COMBO_FIELD, CB_SETCURSEL,
                            static_cast<WPARAM>(field), 0);
        SetDlgItemTextA(dialog.m_hWnd, IDC_EDIT_VALUE, value);
        Click(IDC_BUTTON_SEARCH);
    }
    void Click(int id) {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
    }
};

TEST_F(LookupDialog, ProvincesAndSearchesListMatchesTakingValuesLiterally) {
    const HTREEITEM root = dialog.m_treeProvince.GetRootItem();
    EXPECT_TRUE(dialog.m_treeProvince.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED);
    SelectProvince("浙江省");
    EXPECT_EQ((Texts{"310000", "315000", "325000"}), ColumnTexts(list, 2));
    dialog.m_treeProvince.SelectItem(root);
    EXPECT_EQ(3, list.GetItemCount()) << "the root lists nothing new";
    SelectProvince("浙江省");
    const struct {
        int field;
        const char* value;
        int column;
        Texts texts;
    } searches[] = {
        {2, "1000", 1, {"东城区", "杭州市", "西城区"}},
        {1, "_", 1, {"百分_号%区"}},
        {1, "O'B", 1, {"O'Brien区"}},
        {3, "", 1, {"O'Brien区"}}, // an empty value changes nothing
        {3, "12345", 3, {}},
    };
    for (const auto& search : searches) {
        Search(search.field, search.value);
        EXPECT_EQ(search.texts, ColumnTexts(list, search.column)) << search.value;
    }
    EXPECT_EQ(root, dialog.m_treeProvince.GetSelectedItem());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(LookupDialog, EnterInTheValueBoxSearchesAndTheDialogStays) {
    const HWND edit = dialog.GetDlgItem(IDC_EDIT_VALUE);
    SetWindowTextA(edit, "宁波");
    SendDlgItemMessageA(dialog.m_hWnd, IDC_COMBO_FIELD, CB_SETCURSEL, 1, 0);
    SetFocus(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    AfxPumpWaitingMessages();
    EXPECT_EQ((Texts{"宁波市"}), ColumnTexts(list, 1));
    EXPECT_TRUE(IsWindowVisible(dialog.m_hWnd));
}

TEST_F(LookupDialog, CopyPutsTheSelectedRowsOnTheClipboardOrSaysWhyNot) {
    SelectProvince("浙江省");
    Click(IDC_BUTTON_COPY);
    for (int row : {0, 1, 2})
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    Click(IDC_BUTTON_COPY);
    const std::string copied =
        "省份： 浙江省\r\n地区： 杭州市\r\n邮政编码： 310000\r\n电话区号： 0571\r\n"
        "省份： 浙江省\r\n地区： 宁波市\r\n邮政编码： 315000\r\n电话区号： 0574\r\n"
        "省份： 浙江省\r\n地区： 温州市\r\n邮政编码： 325000\r\n电话区号： 0577\r\n";
    EXPECT_EQ(copied, uidriver::ClipboardText());
    // While another window holds the clipboard the copy fails, and says so.
    ASSERT_TRUE(OpenClipboard(nullptr));
    Click(IDC_BUTTON_COPY);
    CloseClipboard();
    ASSERT_EQ(3u, messages.boxes.size());
    EXPECT_STREQ("您没有选择要复制的项目。", messages.boxes[0].text);
    EXPECT_STREQ("数据已经被复制倒内存！", messages.boxes[1].text);
    EXPECT_STREQ("无法把数据复制到剪贴板，请稍后再试。", messages.boxes[2].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), messages.boxes[1].type & MB_ICONMASK);
}

// What a window shows of the GDI objects behind it: its font, and the bitmaps of a tree's or a
// list's images.
void AddShownObjects(HWND window, std::vector<HGDIOBJ>& objects) {
    if (HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)))
        objects.push_back(font);
    for (auto [message, kind] :
         {std::pair{TVM_GETIMAGELIST, TVSIL_NORMAL}, {LVM_GETIMAGELIST, LVSIL_SMALL}}) {
        IMAGEINFO info{};
        if (ImageList_GetImageInfo(
                reinterpret_cast<HIMAGELIST>(SendMessageA(window, message, kind, 0)), 0, &info))
            objects.insert(objects.end(), {info.hbmImage, info.hbmMask});
    }
}

// Every font and image list the dialog's windows held is freed once the dialog's life is over.
TEST_F(LookupDialog, ItsLifeLeavesNoFontOrImageBehind) {
    std::vector<HGDIOBJ> objects;
    {
        CLookupDialog other(database);
        ASSERT_TRUE(other.Create());
        AddShownObjects(other.m_listResult.GetHeaderCtrl(), objects);
        for (HWND child = GetWindow(other.m_hWnd, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            AddShownObjects(child, objects);
        other.DestroyWindow();
    }
    ASSERT_GE(objects.size(), 6u) << "the header's font and two image lists at least";
    for (HGDIOBJ object : objects)
        EXPECT_EQ(0u, GetObjectType(object)) << object;
}

} // namespace
