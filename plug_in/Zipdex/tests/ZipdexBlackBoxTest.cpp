#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jet/DatabaseWriter.h>

#include "ZipdexRes.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;

std::string ProfilePath() {
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::string(appData) + "\\Lumivane\\zipdex.ini";
}

// The real zipdex.exe, copied with a database of the test's own into a folder of its own,
// whose Chinese name the program's paths must survive.
class ZipdexProgram : public ::testing::Test {
protected:
    void Install(const char* table, const std::string& csv) {
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((ExecutableDirectory() + "\\..\\zipdex.exe").c_str(), program.c_str(),
                              FALSE));
        jet::DatabaseWriter writer;
        writer.addTable(jet::tableFromCsv(table, csv));
        writer.save(database);
        DeleteFileA(ProfilePath().c_str());
    }
    void TearDown() override {
        DeleteFileA(database.c_str());
        DeleteFileA(program.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    // Started from another folder, so the database can only be found beside the program.
    Process Start() { return Process::Start(QuoteArgument(program), ExecutableDirectory()); }

    const std::string folder = ExecutableDirectory() + "\\邮编查询";
    const std::string program = folder + "\\zipdex.exe";
    const std::string database = folder + "\\Tillwick.dat";
};

TEST_F(ZipdexProgram, UnusableDatabaseExplainsAndShowsNoWindow) {
    const struct {
        const char* table;
        const char* csv;                // nullptr: a file that is no database
        std::vector<std::string> named; // besides the file's path
    } cases[] = {
        {"Zipdex", nullptr, {}},
        {"Postcodes", "PROVINCE,DC,YZBM,DHQH\nA,B,1,2\n", {"Zipdex"}},
        {"Zipdex", "province,YZBM\nA,1\n", {"DC", "DHQH"}},
    };
    for (const auto& c : cases) {
        Install(c.table, c.csv ? c.csv : "A\n");
        if (!c.csv)
            std::ofstream(database, std::ios::binary) << "not an Access file";
        Process zipdex = Start();
        const MessageBoxInfo box = zipdex.WaitForMessageBox();
        EXPECT_EQ("zipdex", box.caption);
        EXPECT_NE(std::string::npos, box.text.find(database)) << box.text;
        for (const std::string& name : c.named)
            EXPECT_NE(std::string::npos, box.text.find(name)) << box.text;
        EXPECT_EQ(std::string::npos, box.text.find("PROVINCE")) << box.text;
        EXPECT_EQ(nullptr, FindTopWindow(zipdex.Id(), DialogCaption("ruzuvadi")));
        AnswerMessageBox(box.window, IDOK);
        EXPECT_TRUE(zipdex.WaitForExit().has_value());
    }
}

// Escape closes the window, which saves the column widths.
TEST_F(ZipdexProgram, EscapeClosesAndSavesTheWidths) {
    Install("Zipdex", "PROVINCE,DC,YZBM,DHQH\nP,1,2,3\n");
    Process zipdex = Start();
    const HWND dialog = zipdex.WaitForDialog("ruzuvadi");
    PressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(std::optional<DWORD>(0), zipdex.WaitForExit());
    std::ifstream profile(ProfilePath(), std::ios::binary);
    const std::string settings{std::istreambuf_iterator<char>(profile), {}};
    EXPECT_NE(std::string::npos, settings.find("[Settings]\r\nControl=80,80,100,100,\r\n"));
}

} // namespace
