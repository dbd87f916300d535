#include <gtest/gtest.h>

#include <windows.h>

#include "BrowserEmulation.h"
#include "PackageRes.h"
#include "VendorSiteControl.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;

const std::string kFolder = ExecutableDirectory() + "\\installed";
const std::string kConfig = kFolder + "\\configs.xml";

// A registry value of the current user as text: a string as it is, a number in decimal.
std::string RegistryValue(const char* key, const char* name) {
    char data[256] = "(none)";
    DWORD type = 0, size = sizeof data;
    ::RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data,
                   &size);
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data)) : data;
}

const char kProgramKey[] = "Software\\Lumivane Software\\ruzuviva";
const std::string kRecordKey = kProgramKey + std::string("\\") + kEmulationSection;

std::string StoredCompany() {
    return RegistryValue((kProgramKey + std::string("\\Settings")).c_str(), "Express Company");
}

// The document mode listed for package.exe and the name recorded for the uninstaller.
std::string BrowserEmulation() {
    return RegistryValue(kBrowserEmulationKey, "package.exe") + " " +
           RegistryValue(kRecordKey.c_str(), kEmulationEntry);
}

Process Start() {
    return Process::Start(QuoteArgument(kFolder + "\\package.exe"), ExecutableDirectory());
}

// One run of the dialog: the selector's item count and selected text (after choosing one).
// Esc and Enter both end it, as the focus starts on the selector, outside the browser pane.
std::pair<int, std::string> RunAndClose(int choose = -1, UINT closingKey = VK_ESCAPE) {
    Process package = Start();
    const HWND dialog = package.WaitForDialog("快递包裹单查询器");
    if (choose >= 0)
        SelectComboIndex(dialog, IDC_COMBO_COMPANY, choose);
    const std::pair<int, std::string> seen = {ComboCount(dialog, IDC_COMBO_COMPANY),
                                              ControlText(dialog, IDC_COMBO_COMPANY)};
    PressKey(dialog, closingKey);
    EXPECT_EQ(std::optional<DWORD>(0), package.WaitForExit());
    return seen;
}

TEST(PackageProgram, RefusesOfflineAndRemembersTheCompanyAcrossRuns) {
    vendor_site::Restorer restore;
    ::CreateDirectoryA(kFolder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA((ExecutableDirectory() + "\\..\\package.exe").c_str(),
                            (kFolder + "\\package.exe").c_str(), FALSE));
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kBrowserEmulationKey, "package.exe");
    vendor_site::WriteBytes(kConfig, "old bytes");
    ASSERT_TRUE(vendor_site::SetMode("refuse"));
    Process offline = Start();
    const MessageBoxInfo box = offline.WaitForMessageBox(30000);
    EXPECT_EQ("ruzuviva|网络不可用，包裹查询工具无法登录！", box.caption + "|" + box.text);
    AnswerMessageBox(box.window, IDOK);
    EXPECT_EQ(std::optional<DWORD>(0), offline.WaitForExit());
    EXPECT_EQ("old bytes|(none)", vendor_site::ReadBytes(kConfig) + "|" + StoredCompany());
    EXPECT_EQ("(none) (none)", BrowserEmulation());

    ASSERT_TRUE(vendor_site::SetMode("normal"));
    const auto [count, none] = RunAndClose();
    EXPECT_LE(12, count) << "the shipped list";
    EXPECT_EQ("", StoredCompany()) << "written at every exit";
    EXPECT_EQ("11001 package.exe", BrowserEmulation());
    const std::string chosen = RunAndClose(3).second;
    EXPECT_EQ(chosen, StoredCompany());
    EXPECT_EQ(std::make_pair(count, chosen), RunAndClose(-1, VK_RETURN))
        << "the company is chosen again";

    // An error page served as 200 is not stored and the list stays; a document mode the user
    // set stays, and is not recorded for the uninstaller.
    ASSERT_TRUE(vendor_site::SetMode("page"));
    const DWORD usersMode = 10001;
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kBrowserEmulationKey, "package.exe", REG_DWORD, &usersMode,
                      sizeof usersMode);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kRecordKey.c_str());
    const std::string stored = vendor_site::ReadBytes(kConfig);
    EXPECT_EQ(count, RunAndClose().first);
    EXPECT_TRUE(stored == vendor_site::ReadBytes(kConfig));
    EXPECT_EQ("10001 (none)", BrowserEmulation());
}

} // namespace
