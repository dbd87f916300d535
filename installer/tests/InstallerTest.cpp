// Runs the real installer in a Wine prefix where the suite was never installed (see
// fresh-prefix.sh) and checks what a user would find: files, shortcuts, the installed-programs
// entry, a working zipdex, and an uninstaller that leaves nothing of the suite behind.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "BrowserEmulation.h"
#include "TestFiles.h"
#include "ZipdexRes.h"
#include "framework/com/Com.h"
#include "framework/base/Encoding.h"
#include "framework/base/ScopedHandle.h"
#include "uidriver/uidriver.h"

namespace {

using namespace uidriver;

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumivane";
const char kSettingsKey[] = "Software\\Lumivane Software";
const char kPackageSettingsKey[] = "Software\\Lumivane Software\\ruzuviva\\Settings";
const std::string kEmulationRecordKey =
    std::string("Software\\Lumivane Software\\ruzuviva\\") + kEmulationSection;
// COM on the main thread for the shell links, for the program's life.
const HRESULT kComReady = CoInitialize(nullptr);

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
    return path;
}

const std::string kMenuFolder = ShellFolder(CSIDL_PROGRAMS) + "\\澜图工具集";
const std::string kZipdexProfile = ShellFolder(CSIDL_APPDATA) + "\\Lumivane\\zipdex.ini";
const std::string kBuiltDatabase =
    ExecutableDirectory() + "\\..\\..\\plug_in\\Zipdex\\Tillwick.dat";

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(const char* key) {
    CRegKey handle;
    return RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, handle.Receive()) == ERROR_SUCCESS;
}

std::string EntryText(const char* name) {
    char value[1024] = {};
    DWORD size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

size_t ShortcutCount() {
    WIN32_FIND_DATAA found;
    const CFindHandle find(FindFirstFileA((kMenuFolder + "\\*.lnk").c_str(), &found));
    size_t count = 0;
    for (BOOL more = find.IsValid(); more; more = FindNextFileA(find, &found))
        ++count;
    return count;
}

// "target|icon file,icon index" of a shell link.
std::string ReadShortcut(const std::string& path) {
    CComPtr<IShellLinkA> link;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                     reinterpret_cast<void**>(&link));
    const CComPtr<IPersistFile> file = link.QueryInterface<IPersistFile>(IID_IPersistFile);
    if (!file || FAILED(file->Load(AnsiToWide(path.c_str()).c_str(), STGM_READ)))
        return "unreadable";
    char target[MAX_PATH] = {}, icon[MAX_PATH] = {};
    int index = 0;
    link->GetPath(target, MAX_PATH, nullptr, 0);
    link->GetIconLocation(icon, MAX_PATH, &index);
    return std::string(target) + "|" + icon + "," + std::to_string(index);
}

// "file version / product version / product name" of a program's version resource.
std::string VersionSummary(const std::string& path) {
    std::vector<char> data(GetFileVersionInfoSizeA(path.c_str(), nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    char *product = nullptr, *name = nullptr;
    UINT size = 0;
    if (data.empty() || !GetFileVersionInfoA(path.c_str(), 0, data.size(), data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &size) ||
        !VerQueryValueA(data.data(), "\\StringFileInfo\\080403a8\\ProductVersion",
                        reinterpret_cast<void**>(&product), &size) ||
        !VerQueryValueA(data.data(), "\\StringFileInfo\\080403a8\\ProductName",
                        reinterpret_cast<void**>(&name), &size))
        return "no complete version resource";
    char text[200];
    snprintf(text, sizeof text, "%lu.%lu.%lu.%lu / %s / %s", fixed->dwFileVersionMS >> 16,
             fixed->dwFileVersionMS & 0xFFFF, fixed->dwFileVersionLS >> 16,
             fixed->dwFileVersionLS & 0xFFFF, product, name);
    return text;
}

// Wine lets go of an ended program's current folder only once the process object is gone,
// a moment after it signals: until then that folder cannot be removed.
DWORD Run(const std::string& commandLine) {
    std::optional<DWORD> exitCode;
    DWORD id = 0;
    {
        const Process process = Process::Start(commandLine);
        id = process.Id();
        exitCode = process.WaitForExit(60000);
    }
    for (int waited = 0; waited < 5000 && CHandle(OpenProcess(SYNCHRONIZE, FALSE, id));
         waited += 20)
        Sleep(20);
    if (!exitCode)
        throw Error("still running: " + commandLine);
    return *exitCode;
}

void Install(const std::string& options) {
    ASSERT_EQ(0u,
              Run(QuoteArgument(ExecutableDirectory() + "\\..\\" SETUP_NAME) + " /S" + options));
}

// The uninstaller hands over to a copy of itself and returns at once; the copy removes the
// installed-programs entry last.
void Uninstall(const std::string& folder, const std::string& options) {
    Run(QuoteArgument(folder + "\\uninstall.exe") + " /S" + options);
    WaitFor([] { return !KeyExists(kUninstallKey); }, 30000, "the uninstaller to finish");
}

void WritePackageSetting() {
    CRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kPackageSettingsKey, 0, nullptr, 0,
                                             KEY_WRITE, nullptr, key.Receive(), nullptr));
    RegSetValueExA(key, "Express Company", 0, REG_SZ, reinterpret_cast<const BYTE*>("EMS"), 4);
}

// What package.exe leaves when it lists itself for the browser's document mode: the value, and
// the name it wrote in its settings, when it wrote one.
void WriteBrowserEmulation(const char* name, DWORD mode, const char* recorded) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kBrowserEmulationKey, name, REG_DWORD, &mode, sizeof mode);
    if (recorded)
        RegSetKeyValueA(HKEY_CURRENT_USER, kEmulationRecordKey.c_str(), kEmulationEntry, REG_SZ,
                        recorded, static_cast<DWORD>(strlen(recorded) + 1));
}

// The document mode listed for a program name, or 0.
DWORD BrowserEmulation(const char* name) {
    DWORD mode = 0, size = sizeof mode;
    RegGetValueA(HKEY_CURRENT_USER, kBrowserEmulationKey, name, RRF_RT_REG_DWORD, nullptr, &mode,
                 &size);
    return mode;
}

TEST(Installer, InstallsForTheUserRunsZipdexAndUninstallsKeepingSettings) {
    Install("");
    const std::string folder = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Lumivane";
    const std::string zipdex = folder + "\\plug_in\\Zipdex\\zipdex.exe";

    // The updater keeps its own file version; everything else carries the suite's.
    const char* const kSuite = SUITE_VERSION " / " SUITE_VERSION " / 澜图工具集";
    const struct {
        std::string path, version;
    } programs[] = {
        {folder + "\\update.exe", "3.0.0.3 / " SUITE_VERSION " / 澜图工具集"},
        {folder + "\\package.exe", kSuite},
        {zipdex, kSuite},
        {folder + "\\uninstall.exe", kSuite},
        {ExecutableDirectory() + "\\..\\" SETUP_NAME, kSuite},
    };
    for (const auto& program : programs)
        EXPECT_EQ(program.version, VersionSummary(program.path)) << program.path;
    EXPECT_EQ(test_files::Read(kBuiltDatabase),
              test_files::Read(folder + "\\plug_in\\Zipdex\\Tillwick.dat"));
    EXPECT_TRUE(Exists(folder + "\\Template"));

    const struct {
        const char* name;
        std::string target;
    } shortcuts[] = {
        {"邮编区号查询.lnk", zipdex},
        {"快递包裹单查询器.lnk", folder + "\\package.exe"},
    };
    EXPECT_EQ(2u, ShortcutCount());
    for (const auto& shortcut : shortcuts)
        EXPECT_EQ(shortcut.target + "|" + shortcut.target + ",0",
                  ReadShortcut(kMenuFolder + "\\" + shortcut.name));

    const struct {
        const char* name;
        std::string value;
    } entry[] = {
        {"DisplayName", "澜图工具集"}, {"DisplayVersion", SUITE_VERSION},
        {"Publisher", "澜图软件"},     {"DisplayIcon", zipdex + ",0"},
        {"InstallLocation", folder},   {"UninstallString", "\"" + folder + "\\uninstall.exe\""},
    };
    for (const auto& value : entry)
        EXPECT_EQ(value.value, EntryText(value.name)) << value.name;

    Process started = Process::Start(QuoteArgument(zipdex));
    const HWND dialog = started.WaitForDialog("ruzuvadi");
    const HWND tree = Control(dialog, IDC_TREE_PROVINCE);
    const std::vector<std::string> provinces = TreeChildTexts(tree, TreeRoot(tree));
    EXPECT_EQ(31u, provinces.size());
    EXPECT_EQ("安徽省", provinces.empty() ? "" : provinces.front());
    PressKey(dialog, VK_ESCAPE);
    EXPECT_EQ(std::optional<DWORD>(0), started.WaitForExit());
    ASSERT_TRUE(Exists(kZipdexProfile));
    WritePackageSetting();
    WriteBrowserEmulation("package.exe", kBrowserEmulationMode, "package.exe");

    // What the programs fetch or keep in their folder goes too.
    test_files::Write(folder + "\\configs.xml", "<configs/>");
    test_files::Write(folder + "\\update.serial", "7");
    test_files::Write(folder + "\\Template\\zipdex.exe", "downloaded");
    Uninstall(folder, "");
    EXPECT_FALSE(Exists(folder));
    EXPECT_FALSE(Exists(kMenuFolder));
    EXPECT_TRUE(Exists(kZipdexProfile));
    EXPECT_TRUE(KeyExists(kPackageSettingsKey));
    EXPECT_EQ(0u, BrowserEmulation("package.exe")) << "what package.exe wrote goes";
    EXPECT_FALSE(KeyExists(kEmulationRecordKey.c_str()));
}

TEST(Installer, UpgradesInPlaceOrMovesAndRemovesSettingsOnRequest) {
    const std::string oldFolder = "C:\\LumivaneOld", newFolder = "C:\\LumivaneNew";
    const std::string database = "\\plug_in\\Zipdex\\Tillwick.dat";
    Install(" /D=" + oldFolder);
    test_files::Write(oldFolder + database, "changed");

    Install("");
    EXPECT_EQ(test_files::Read(kBuiltDatabase), test_files::Read(oldFolder + database));
    EXPECT_EQ(oldFolder, EntryText("InstallLocation"));
    EXPECT_EQ(2u, ShortcutCount());

    Install(" /D=" + newFolder);
    EXPECT_FALSE(Exists(oldFolder));
    EXPECT_EQ(test_files::Read(kBuiltDatabase), test_files::Read(newFolder + database));
    EXPECT_EQ(newFolder, EntryText("InstallLocation"));
    EXPECT_EQ(2u, ShortcutCount());

    CreateDirectoryA((ShellFolder(CSIDL_APPDATA) + "\\Lumivane").c_str(), nullptr);
    test_files::Write(kZipdexProfile, "[Settings]\r\n");
    WritePackageSetting();
    // The user changed the value package.exe wrote; zipdex.exe's was never package.exe's.
    WriteBrowserEmulation("package.exe", 10001, "package.exe");
    WriteBrowserEmulation("zipdex.exe", kBrowserEmulationMode, nullptr);
    Uninstall(newFolder, " /REMOVESETTINGS");
    EXPECT_FALSE(Exists(newFolder));
    EXPECT_FALSE(Exists(kMenuFolder));
    EXPECT_FALSE(Exists(kZipdexProfile));
    EXPECT_FALSE(KeyExists(kSettingsKey));
    EXPECT_EQ(10001u, BrowserEmulation("package.exe"));
    EXPECT_EQ(kBrowserEmulationMode, BrowserEmulation("zipdex.exe"));
}

} // namespace
