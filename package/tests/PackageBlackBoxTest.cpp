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

std::string StoredCompany() {
    char value[256] = "(none)";
    DWORD size = sizeof value;
    ::RegGetValueA(HKEY_CURRENT_USER, "Software\\Lumivane Software\\ruzuviva\\Settings",
                   "Express Company", RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

// package.exe's document mode and the name it recorded for the uninstaller.
std::string BrowserEmulation() {
    DWORD mode = 0;
    DWORD size = sizeof mode;
    char recorded[64] = "(none)";
    DWORD recordedSize = sizeof recorded;
    ::RegGetValueA(HKEY_CURRENT_USER, kBrowserEmulationKey, "package.exe", RRF_RT_REG_DWORD,
                   nullptr, &mode, &size);
    ::RegGetValueA(
        HKEY_CURRENT_USER,
        (std::string("Software\\Lumivane Software\\ruzuviva\\") + kEmulationSection).c_str(),
        kEmulationEntry, RRF_RT_REG_SZ, nullptr, recorded, &recordedSize);
    return std::to_string(mode) + " " + recorded;
}

Process Start() {
    return Process::Start(QuoteArgument(kFolder + "\\package.exe"), ExecutableDirectory());
}

// One run of the dialog: the selector's item count and selected text (after choosing one).
// The focus is on the selector, outside the browser pane: Esc and Enter both end the dialog.
std::pair<int, std::string> RunAndClose(int choose = -1, UINT closingKey = VK_ESCAPE) {
    Process package = Start();
    const HWND dialog = package.WaitForDialog("快递包裹单查询器");
    if (choose >= 0)
        SelectComboIndex(dialog, IDC_COMBO_COMPANY, choose);
    const std::pair<int, std::string> seen = {ComboCount(dialog, IDC_COMBO_COMPANY),
                                              ControlText(dialog, IDC_COMBO_COMPANY)};
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(dialog, nullptr), &focus);
    EXPECT_EQ(IDC_COMBO_COMPANY, ::GetDlgCtrlID(focus.hwndFocus));
    PressKey(dialog, closingKey);
    EXPECT_EQ(std::optional<DWORD>(0), package.WaitForExit());
    return seen;
}

TEST(PackageProgram, RefusesOfflineAndRemembersTheCompanyAcrossRuns) {
    vendor_site::Restorer restore;
    ::CreateDirectoryA(kFolder.c_str(), nullptr);
    ASSERT_TRUE(::CopyFileA((ExecutableDirectory() + "\\..\\package.exe").c_str(),
                            (kFolder + "\\package.exe").c_str(), FALSE));
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Lumivane Software\\ruzuviva");
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kBrowserEmulationKey, "package.exe");
    vendor_site::WriteBytes(kConfig, "old bytes");
    ASSERT_TRUE(vendor_site::SetMode("refuse"));
    Process offline = Start();
    const MessageBoxInfo box = offline.WaitForMessageBox(30000);
    EXPECT_EQ("ruzuviva|网络不可用，包裹查询工具无法登录！", box.caption + "|" + box.text);
    EXPECT_FALSE(FindTopWindow(offline.Id(), DialogCaption("快递包裹单查询器")));
    AnswerMessageBox(box.window, IDOK);
    EXPECT_EQ(std::optional<DWORD>(0), offline.WaitForExit());
    EXPECT_EQ("old bytes|(none)", vendor_site::ReadBytes(kConfig) + "|" + StoredCompany());
    EXPECT_EQ("0 (none)", BrowserEmulation());

    // A configuration whose document type would take minutes is stored but not read; the
    // next start, with the site's own list, reads its own again.
    const std::string served = vendor_site::ReadBytes(vendor_site::ServedConfig());
    std::string uses;
    for (int i = 0; i < 5000; ++i)
        uses += "&e;";
    vendor_site::WriteBytes(vendor_site::ServedConfig(),
                            "<!DOCTYPE R [<!ENTITY e \"" + std::string(50000, 'x') +
                                "\">]><R><Expresses><E Name=\"" + uses +
                                "\" URL=\"u\"/></Expresses></R>");
    ASSERT_TRUE(vendor_site::SetMode("normal"));
    EXPECT_EQ(0, RunAndClose().first);
    vendor_site::WriteBytes(vendor_site::ServedConfig(), served);
    const auto [count, none] = RunAndClose();
    EXPECT_LE(12, count) << "the shipped list";
    EXPECT_EQ("", StoredCompany()) << "written at every exit";
    EXPECT_EQ("11001 package.exe", BrowserEmulation());
    const std::string chosen = RunAndClose(3).second;
    EXPECT_EQ(chosen, StoredCompany());
    EXPECT_EQ(std::make_pair(count, chosen), RunAndClose(-1, VK_RETURN))
        << "the company is chosen again";
}

} // namespace
