#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "PackageRes.h"
#include "PackageTestSupport.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;

const char kSettingsKey[] = "Software\\Lumivane Software\\ruzuviva\\Settings";
const char kCaption[] = "快递包裹单查询器";

std::optional<std::string> StoredCompany() {
    char value[256] = {};
    DWORD size = sizeof value;
    if (::RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, "Express Company", RRF_RT_REG_SZ, nullptr,
                       value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(value);
}

void StoreCompany(const char* name) {
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "Express Company", REG_SZ, name,
                      static_cast<DWORD>(strlen(name) + 1));
}

// The real package.exe in a folder of its own, started from elsewhere.
class PackageProgram : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "package-blackbox";
        ::CreateDirectoryA(folder.c_str(), nullptr);
        program = folder + "\\package.exe";
        ASSERT_TRUE(::CopyFileA((ExecutableDirectory() + "\\..\\package.exe").c_str(),
                                program.c_str(), FALSE));
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Lumivane Software\\ruzuviva");
    }
    void TearDown() override {
        ::DeleteFileA(Config().c_str());
        ::DeleteFileA(program.c_str());
        ::RemoveDirectoryA(folder.c_str());
    }
    std::string Config() const { return folder + "\\configs.xml"; }
    Process Start() {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        return Process::Start(QuoteArgument(program), temp);
    }
    // Starts the program, waits for its dialog and returns the selector's items and selection.
    std::pair<int, std::string> RunAndClose(int choose = -1) {
        Process package = Start();
        const HWND dialog = package.WaitForDialog(kCaption);
        const int count = ComboCount(dialog, IDC_COMBO_COMPANY);
        if (choose >= 0)
            SelectComboIndex(dialog, IDC_COMBO_COMPANY, choose);
        const int selected = ComboSelection(dialog, IDC_COMBO_COMPANY);
        const std::string text =
            selected >= 0 ? ComboItemText(dialog, IDC_COMBO_COMPANY, selected) : "";
        PressKey(dialog, VK_ESCAPE);
        EXPECT_EQ(std::optional<DWORD>(0), package.WaitForExit());
        return {count, text};
    }

    SiteRestorer restore;
    std::string folder;
    std::string program;
};

TEST_F(PackageProgram, RefusesToStartWhenTheVendorsPortIsClosed) {
    const std::string old = ConfigXml({{"Old", "u:old"}});
    WriteBytes(Config(), old);
    StoreCompany("Old");
    vendor_site::SetMode("refuse");
    Process package = Start();
    const MessageBoxInfo box = package.WaitForMessageBox(30000);
    EXPECT_EQ("ruzuviva", box.caption);
    EXPECT_EQ("网络不可用，包裹查询工具无法登录！", box.text);
    EXPECT_EQ(std::vector<int>{IDOK}, box.buttons);
    EXPECT_FALSE(FindTopWindow(package.Id(), DialogCaption(kCaption)));
    AnswerMessageBox(box.window, IDOK);
    EXPECT_EQ(std::optional<DWORD>(0), package.WaitForExit());
    EXPECT_EQ(old, ReadBytes(Config()));
    EXPECT_EQ(std::optional<std::string>("Old"), StoredCompany());
}

TEST_F(PackageProgram, RemembersTheChosenCompanyAndKeepsTheListOnAServerError) {
    const auto [count, none] = RunAndClose();
    EXPECT_LE(12, count) << "the shipped list";
    EXPECT_EQ("", none);
    EXPECT_EQ(std::optional<std::string>(""), StoredCompany()) << "written at every exit";
    const std::string downloaded = ReadBytes(Config());
    EXPECT_EQ(ReadBytes(vendor_site::ServedConfig()), downloaded);

    const auto [sameCount, chosen] = RunAndClose(3);
    EXPECT_EQ(count, sameCount);
    ASSERT_FALSE(chosen.empty());
    EXPECT_EQ(std::optional<std::string>(chosen), StoredCompany());

    vendor_site::SetMode("error");
    const auto [keptCount, remembered] = RunAndClose();
    EXPECT_EQ(count, keptCount);
    EXPECT_EQ(chosen, remembered);
    EXPECT_EQ(downloaded, ReadBytes(Config()));
    EXPECT_EQ(std::optional<std::string>(chosen), StoredCompany());
}

} // namespace
