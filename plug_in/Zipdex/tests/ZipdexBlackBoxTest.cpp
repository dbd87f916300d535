#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <jet/DatabaseWriter.h>

#include "ZipdexRes.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;

std::string TempFolder(const char* name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    return std::string(temp) + name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string ProfilePath() {
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::string(appData) + "\\Lumivane\\zipdex.ini";
}

// The real zipdex.exe, copied with a database of the test's own into a folder of its own.
class ZipdexProgram : public ::testing::Test {
protected:
    void SetUp() override { Install(TempFolder("zipdex-blackbox")); }
    void Install(const std::string& where) {
        folder = where;
        CreateDirectoryA(folder.c_str(), nullptr);
        program = folder + "\\zipdex.exe";
        ASSERT_TRUE(CopyFileA((ExecutableDirectory() + "\\..\\zipdex.exe").c_str(), program.c_str(),
                              FALSE));
        jet::DatabaseWriter writer;
        writer.addTable(jet::tableFromCsv("Zipdex", u8"PROVINCE,DC,YZBM,DHQH\n"
                                                    u8"北京市,东城区,100010,010\n"
                                                    u8"浙江省,杭州市,310000,0571\n"
                                                    u8"浙江省,宁波市,315000,0574\n"
                                                    u8"安徽省,合肥市,230000,0551\n"));
        writer.save(folder + "\\Tillwick.dat");
        DeleteFileA(ProfilePath().c_str());
    }
    void TearDown() override { Uninstall(); }
    void Uninstall() {
        DeleteFileA((folder + "\\Tillwick.dat").c_str());
        DeleteFileA(program.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    // Started from another folder, so the database can only be found beside the program.
    Process Start() { return Process::Start(QuoteArgument(program), TempFolder("")); }

    std::string folder;
    std::string program;
};

TEST_F(ZipdexProgram, SearchSortCopyAndCloseLikeAUser) {
    Process zipdex = Start();
    const HWND dialog = zipdex.WaitForDialog("ruzuvadi");
    const HWND tree = Control(dialog, IDC_TREE_PROVINCE);
    EXPECT_EQ("邮编区号查询", TreeItemText(tree, TreeRoot(tree)));
    EXPECT_EQ((std::vector<std::string>{"安徽省", "北京市", "浙江省"}),
              TreeChildTexts(tree, TreeRoot(tree)));

    SelectComboIndex(dialog, IDC_COMBO_FIELD, 2);
    SetControlText(dialog, IDC_EDIT_VALUE, "1000");
    ClickButton(dialog, IDC_BUTTON_SEARCH);
    const HWND list = Control(dialog, IDC_LIST_RESULT);
    for (int i = 0; i < 100 && ListRowCount(list) < 2; ++i)
        Sleep(20);
    ASSERT_EQ((std::vector<std::vector<std::string>>{{"北京市", "东城区", "100010", "010"},
                                                     {"浙江省", "杭州市", "310000", "0571"}}),
              ListRows(list));

    ClickHeaderItem(ListHeader(list), 1);
    ClickHeaderItem(ListHeader(list), 1);
    for (int i = 0; i < 100 && ListCellText(list, 0, 1) != "杭州市"; ++i)
        Sleep(20);
    EXPECT_EQ("杭州市", ListCellText(list, 0, 1)) << "second click sorts descending";

    ClearClipboard();
    SelectListRow(list, 1);
    ClickButton(dialog, IDC_BUTTON_COPY);
    const MessageBoxInfo box = zipdex.WaitForMessageBox();
    EXPECT_EQ("zipdex", box.caption);
    EXPECT_EQ("数据已经被复制倒内存！", box.text);
    AnswerMessageBox(box.window, IDOK);
    EXPECT_EQ("省份： 北京市\r\n地区： 东城区\r\n邮政编码： 100010\r\n电话区号： 010\r\n",
              ClipboardText().value_or(""));

    PressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(std::optional<DWORD>(0), zipdex.WaitForExit());
    EXPECT_NE(std::string::npos,
              ReadFile(ProfilePath()).find("[Settings]\r\nControl=80,80,100,100,\r\n"));
}

TEST_F(ZipdexProgram, RunsFromAFolderWithAChineseName) {
    Uninstall();
    Install(TempFolder("邮编查询"));
    Process zipdex = Start();
    const HWND tree = Control(zipdex.WaitForDialog("ruzuvadi"), IDC_TREE_PROVINCE);
    EXPECT_EQ(3u, TreeChildTexts(tree, TreeRoot(tree)).size());
}

TEST_F(ZipdexProgram, MissingDatabaseExplainsAndShowsNoWindow) {
    DeleteFileA((folder + "\\Tillwick.dat").c_str());
    Process zipdex = Start();
    const MessageBoxInfo box = zipdex.WaitForMessageBox();
    EXPECT_EQ("zipdex", box.caption);
    EXPECT_NE(std::string::npos, box.text.find(folder + "\\Tillwick.dat")) << box.text;
    EXPECT_EQ(nullptr, FindTopWindow(zipdex.Id(), DialogCaption("ruzuvadi")));
    AnswerMessageBox(box.window, IDOK);
    EXPECT_TRUE(zipdex.WaitForExit().has_value());
}

TEST_F(ZipdexProgram, DamagedDatabaseExplainsAndShowsNoWindow) {
    std::ofstream(folder + "\\Tillwick.dat", std::ios::binary) << "not an Access file at all";
    Process zipdex = Start();
    const MessageBoxInfo box = zipdex.WaitForMessageBox();
    EXPECT_NE(std::string::npos, box.text.find("Tillwick.dat")) << box.text;
    AnswerMessageBox(box.window, IDOK);
    EXPECT_TRUE(zipdex.WaitForExit().has_value());
}

} // namespace
