#pragma once

#include <windows.h>

class CWinApp;

// A hosted WebBrowser control renders in IE7 mode unless its program is listed under this key
// (per user, no administrator rights needed).
inline constexpr char kBrowserEmulationKey[] =
    "Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";
// IE11 standards mode, whatever the page's DOCTYPE.
inline constexpr DWORD kBrowserEmulationMode = 11001;
// Where the program keeps the name it listed, in its profile, for the uninstaller.
inline constexpr char kEmulationSection[] = "Browser Emulation";
inline constexpr char kEmulationEntry[] = "Program";

// Lists the running program's file name under kBrowserEmulationKey with kBrowserEmulationMode,
// unless a value of that name is there already (the user's, or ours from an earlier run), and
// records the name written in the application's profile. Before the browser is created.
void ListForBrowserEmulation(CWinApp& app);
