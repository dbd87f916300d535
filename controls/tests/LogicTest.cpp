#include <gtest/gtest.h>

#include <string>

#include "LinkLabel.h"
#include "TestSupport.h"
#include "XPButton.h"

using namespace link_label;

namespace {

// The gradient table, written out independently of the implementation.
COLORREF PartGradient(int i, bool hover, bool focus) {
    if (hover && focus)
        return RGB(255 - i / 4, 255 - i / 4, 255 - i / 3);
    if (hover)
        return RGB(255 - i / 4, 255 - i / 4, 255 - i / 5);
    if (focus)
        return RGB(255 - i / 3, 255 - i / 3, 255 - i / 4);
    return RGB(255 - i / 3, 255 - i / 3, 255 - i / 5);
}

} // namespace

TEST(XPButtonGradient, EveryBrushFollowsTheTable) {
    for (int hover = 0; hover < 2; ++hover)
        for (int focus = 0; focus < 2; ++focus)
            for (int i = 0; i < 64; ++i)
                EXPECT_EQ(PartGradient(i, hover, focus), xp_button::GradientColor(i, hover, focus))
                    << "brush " << i << " hover " << hover << " focus " << focus;
}

TEST(XPButtonGradient, EndsOfTheFourRamps) {
    for (int hover = 0; hover < 2; ++hover)
        for (int focus = 0; focus < 2; ++focus)
            EXPECT_EQ(RGB(255, 255, 255), xp_button::GradientColor(0, hover, focus));
    EXPECT_EQ(RGB(240, 240, 234), xp_button::GradientColor(63, true, true));
    EXPECT_EQ(RGB(240, 240, 243), xp_button::GradientColor(63, true, false));
    EXPECT_EQ(RGB(234, 234, 240), xp_button::GradientColor(63, false, true));
    EXPECT_EQ(RGB(234, 234, 243), xp_button::GradientColor(63, false, false));
}

TEST(XPButtonGradient, RowsOfA75By23Button) {
    // Shrunken rectangle (2, 2, 73, 21): height 19, rows 2 ... 20 use brushes 3 * y.
    for (int y = 2; y <= 20; ++y)
        EXPECT_EQ(3 * y, xp_button::GradientBrushForRow(y, 19));
    EXPECT_EQ(RGB(253, 253, 254), xp_button::GradientColor(6, false, false));
    EXPECT_EQ(RGB(235, 235, 243), xp_button::GradientColor(60, false, false));
}

TEST(XPButtonCaption, CentredWithTruncatingHalvesAndShiftedWhenPressed) {
    const RECT face{2, 2, 73, 21};
    const POINT at = xp_button::CaptionOrigin(face, SIZE{25, 13}, false);
    EXPECT_EQ(37 - 12, at.x);
    EXPECT_EQ(11 - 6, at.y);
    const POINT pressed = xp_button::CaptionOrigin(face, SIZE{25, 13}, true);
    EXPECT_EQ(at.x + 1, pressed.x);
    EXPECT_EQ(at.y + 1, pressed.y);
}

TEST(LinkFitToText, LeftAlignedKeepsTheTopLeftCorner) {
    const RECT fitted = FitRectToText(RECT{10, 20, 110, 40}, SIZE{37, 13}, SS_LEFT);
    EXPECT_EQ(10, fitted.left);
    EXPECT_EQ(20, fitted.top);
    EXPECT_EQ(47, fitted.right);
    EXPECT_EQ(33, fitted.bottom);
}

TEST(LinkFitToText, RightAlignedKeepsTheRightEdge) {
    const RECT fitted = FitRectToText(RECT{10, 20, 110, 40}, SIZE{37, 13}, SS_RIGHT);
    EXPECT_EQ(73, fitted.left);
    EXPECT_EQ(110, fitted.right);
    EXPECT_EQ(20, fitted.top);
    EXPECT_EQ(33, fitted.bottom);
}

TEST(LinkFitToText, CentredMovesBothEdgesByHalfTheDifference) {
    // Width 100, text 37: (100 - 37) / 2 = 31 on each side; height 20, text 13: 3 each.
    const RECT fitted =
        FitRectToText(RECT{10, 20, 110, 40}, SIZE{37, 13}, SS_CENTER | SS_CENTERIMAGE);
    EXPECT_EQ(41, fitted.left);
    EXPECT_EQ(79, fitted.right);
    EXPECT_EQ(23, fitted.top);
    EXPECT_EQ(37, fitted.bottom);
}

TEST(LinkFitToText, ALongerTextEnlargesTheRectangle) {
    // Differences of -50 and -5 halve toward zero to -25 and -2.
    const RECT fitted =
        FitRectToText(RECT{100, 20, 150, 28}, SIZE{100, 13}, SS_CENTER | SS_CENTERIMAGE);
    EXPECT_EQ(75, fitted.left);
    EXPECT_EQ(175, fitted.right);
    EXPECT_EQ(18, fitted.top);
    EXPECT_EQ(30, fitted.bottom);
}

TEST(HtmFallbackCommand, QuotedPlaceholderAtTheEnd) {
    EXPECT_EQ(
        CString("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"  http://127.0.0.1"),
        BuildHtmFallbackCommand("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" \"%1\"",
                                "http://127.0.0.1"));
}

TEST(HtmFallbackCommand, QuotedPlaceholderDropsWhatFollows) {
    EXPECT_EQ(CString("\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url  "
                      "mailto:support@lumivane.cn"),
              BuildHtmFallbackCommand(
                  "\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url \"%1\" -new-tab",
                  "mailto:support@lumivane.cn"));
}

TEST(HtmFallbackCommand, BarePlaceholderLosesTheOptionsAfterIt) {
    EXPECT_EQ(CString("C:\\PROGRA~1\\Opera\\opera.exe  http://127.0.0.1/BBS"),
              BuildHtmFallbackCommand("C:\\PROGRA~1\\Opera\\opera.exe %1 -newwindow",
                                      "http://127.0.0.1/BBS"));
}

TEST(HtmFallbackCommand, WithoutPlaceholderTheTargetIsAppended) {
    EXPECT_EQ(
        CString("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome http://127.0.0.1"),
        BuildHtmFallbackCommand("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome",
                                "http://127.0.0.1"));
}

TEST(HtmFallbackCommand, TheQuotedPlaceholderIsLookedForFirst) {
    EXPECT_EQ(CString("viewer.exe %1  http://a"),
              BuildHtmFallbackCommand("viewer.exe %1 \"%1\"", "http://a"));
}

TEST(HtmFallbackCommand, ChinesePathsAndLongTargetsAreKeptWhole) {
    const CString command = "\"C:\\程序\\浏览器\\浏览器.exe\" \"%1\"";
    const std::string target = "http://127.0.0.1/" + std::string(5000, 'x');
    const CString built = BuildHtmFallbackCommand(command, target.c_str());
    EXPECT_EQ(CString("\"C:\\程序\\浏览器\\浏览器.exe\"  ") + target.c_str(), built);
}

TEST(OpenErrorTexts, EveryListedCode) {
    EXPECT_EQ(CString("The operating system is out\nof memory or resources."), OpenErrorText(0));
    EXPECT_EQ(CString("The specified file was not found."), OpenErrorText(2));
    EXPECT_EQ(CString("The specified path was not found."), OpenErrorText(3));
    EXPECT_EQ(CString("The operating system denied\naccess to the specified file."),
              OpenErrorText(5));
    EXPECT_EQ(CString("There was not enough memory to complete the operation."), OpenErrorText(8));
    EXPECT_EQ(CString("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."),
              OpenErrorText(11));
    EXPECT_EQ(CString("A sharing violation occurred. "), OpenErrorText(26));
    EXPECT_EQ(CString("The filename association is\nincomplete or invalid."), OpenErrorText(27));
    EXPECT_EQ(CString("The DDE transaction could not\nbe completed because the request timed out."),
              OpenErrorText(28));
    EXPECT_EQ(CString("The DDE transaction failed."), OpenErrorText(29));
    EXPECT_EQ(CString("The DDE transaction could not\nbe completed because other DDE transactions\n"
                      "were being processed."),
              OpenErrorText(30));
    EXPECT_EQ(CString("There is no application associated\nwith the given filename extension."),
              OpenErrorText(31));
    EXPECT_EQ(CString("The specified dynamic-link library was not found."), OpenErrorText(32));
}

TEST(OpenErrorTexts, UnlistedCodesAreUnknownWithTheCode) {
    for (int code : {1, 4, 6, 7, 9, 10, 12, 18, 25, 33, 1000}) {
        CString expected;
        expected.Format("Unknown Error (%d) occurred.", code);
        EXPECT_EQ(expected, OpenErrorText(code)) << code;
    }
    EXPECT_EQ(CString("Unknown Error (-5) occurred."), OpenErrorText(-5));
}

TEST(OpenErrorTexts, MessageHasTheHeading) {
    EXPECT_EQ(CString("Unable to open hyperlink:\n\nA sharing violation occurred. "),
              OpenErrorMessage(26));
    EXPECT_EQ(CString("Unable to open hyperlink:\n\nUnknown Error (7) occurred."),
              OpenErrorMessage(7));
}

TEST(ReadKeyDefault, ReadsAStringDefault) {
    TestRegistryRoot root("ReadKeyDefault");
    root.SetDefault(".htm", "htmlfile");
    CString value = "untouched";
    EXPECT_EQ(ERROR_SUCCESS, ReadKeyDefault(root.key(), ".htm", &value));
    EXPECT_EQ(CString("htmlfile"), value);
}

TEST(ReadKeyDefault, MissingKeyMissingValueEmptyValueAndWrongTypeFail) {
    TestRegistryRoot root("ReadKeyDefaultFailures");
    root.CreateKey("novalue");
    root.SetDefault("empty", "");
    HKEY key = nullptr;
    ::RegCreateKeyExA(root.key(), "number", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    const DWORD number = 0x31313131; // "1111" if read as text
    ::RegSetValueExA(key, nullptr, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                     sizeof number);
    ::RegCloseKey(key);

    for (const char* name : {"missing", "novalue", "empty", "number"}) {
        CString value = "untouched";
        EXPECT_NE(ERROR_SUCCESS, ReadKeyDefault(root.key(), name, &value)) << name;
        EXPECT_EQ(CString("untouched"), value) << name;
    }
}

TEST(ReadKeyDefault, ValuesLongerThanTheBufferFailAndTheLongestThatFitsIsRead) {
    TestRegistryRoot root("ReadKeyDefaultLength");
    const std::string fits(kValueCapacity - 1, 'a');
    root.SetDefault("fits", fits);
    root.SetDefault("onemore", std::string(kValueCapacity, 'b'));
    root.SetDefault("long", std::string(4000, 'c'));
    CString value;
    EXPECT_EQ(ERROR_SUCCESS, ReadKeyDefault(root.key(), "fits", &value));
    EXPECT_EQ(CString(fits.c_str()), value);
    for (const char* name : {"onemore", "long"}) {
        CString untouched = "untouched";
        EXPECT_NE(ERROR_SUCCESS, ReadKeyDefault(root.key(), name, &untouched)) << name;
        EXPECT_EQ(CString("untouched"), untouched) << name;
    }
}

TEST(ReadKeyDefault, ValueWithoutTerminatingZeroIsReadToItsLength) {
    TestRegistryRoot root("ReadKeyDefaultNoZero");
    HKEY key = nullptr;
    ::RegCreateKeyExA(root.key(), "raw", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3);
    const std::string full(kValueCapacity, 'd'); // fills the buffer, no zero: too long
    HKEY fullKey = nullptr;
    ::RegCreateKeyExA(root.key(), "full", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &fullKey,
                      nullptr);
    ::RegSetValueExA(fullKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(full.data()),
                     static_cast<DWORD>(full.size()));
    ::RegCloseKey(key);
    ::RegCloseKey(fullKey);
    CString value;
    EXPECT_EQ(ERROR_SUCCESS, ReadKeyDefault(root.key(), "raw", &value));
    EXPECT_EQ(CString("abc"), value);
    CString untouched = "untouched";
    EXPECT_NE(ERROR_SUCCESS, ReadKeyDefault(root.key(), "full", &untouched));
    EXPECT_EQ(CString("untouched"), untouched);
}

TEST(HtmAssociation, ClassNameThenItsOpenCommand) {
    TestRegistryRoot root("Association");
    root.SetDefault(".htm", "lumivane.htmfile");
    root.SetDefault("lumivane.htmfile\\shell\\open\\command",
                    "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" \"%1\"");
    EXPECT_EQ(CString("\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" \"%1\""),
              HtmAssociationCommand(root.key()));
}

TEST(HtmAssociation, MissingPiecesGiveNoCommand) {
    TestRegistryRoot root("AssociationMissing");
    EXPECT_EQ(CString(), HtmAssociationCommand(root.key()));
    root.SetDefault(".htm", "lumivane.htmfile");
    EXPECT_EQ(CString(), HtmAssociationCommand(root.key()));
    root.CreateKey("lumivane.htmfile\\shell\\open\\command");
    EXPECT_EQ(CString(), HtmAssociationCommand(root.key()));
    root.SetDefault(".htm", std::string(300, 'x')); // an over-long class name
    EXPECT_EQ(CString(), HtmAssociationCommand(root.key()));
}

TEST(OpenLinkTarget, ShellSuccessNeedsNoRegistry) {
    SeamRecorder seams;
    seams.shellResult = 42;
    EXPECT_EQ(42, OpenLinkTarget("http://127.0.0.1", SW_SHOW));
    ASSERT_EQ(1u, seams.shellCalls.size());
    EXPECT_EQ("open", seams.shellCalls[0].operation);
    EXPECT_EQ("http://127.0.0.1", seams.shellCalls[0].file);
    EXPECT_FALSE(seams.shellCalls[0].hasParameters);
    EXPECT_FALSE(seams.shellCalls[0].hasDirectory);
    EXPECT_FALSE(seams.shellCalls[0].hasOwner);
    EXPECT_EQ(SW_SHOW, seams.shellCalls[0].show);
    EXPECT_TRUE(seams.execCalls.empty());
}

TEST(OpenLinkTarget, ShellRefusalRunsTheAssociatedProgram) {
    TestRegistryRoot root("OpenFallback");
    root.SetDefault(".htm", "lumivane.htmfile");
    root.SetDefault("lumivane.htmfile\\shell\\open\\command",
                    "\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url \"%1\"");
    const HKEY previous = SetAssociationRoot(root.key());
    SeamRecorder seams;
    seams.shellResult = SE_ERR_NOASSOC;
    seams.execResult = 33;
    EXPECT_EQ(33, OpenLinkTarget("mailto:support@lumivane.cn", SW_SHOW));
    ASSERT_EQ(1u, seams.execCalls.size());
    EXPECT_EQ("\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url  "
              "mailto:support@lumivane.cn",
              seams.execCalls[0].commandLine);
    EXPECT_EQ(static_cast<UINT>(SW_SHOW), seams.execCalls[0].show);

    seams.execResult = ERROR_FILE_NOT_FOUND;
    EXPECT_EQ(2, OpenLinkTarget("http://127.0.0.1", SW_SHOW));
    SetAssociationRoot(previous);
}

TEST(OpenLinkTarget, WithoutAssociationTheShellCodeStands) {
    TestRegistryRoot root("OpenNoAssociation");
    const HKEY previous = SetAssociationRoot(root.key());
    SeamRecorder seams;
    seams.shellResult = SE_ERR_NOASSOC;
    EXPECT_EQ(SE_ERR_NOASSOC, OpenLinkTarget("http://127.0.0.1", SW_SHOW));
    root.SetDefault(".htm", "lumivane.htmfile");
    seams.shellResult = SE_ERR_ACCESSDENIED;
    EXPECT_EQ(SE_ERR_ACCESSDENIED, OpenLinkTarget("http://127.0.0.1", SW_SHOW));
    root.SetDefault("lumivane.htmfile\\shell\\open\\command", "");
    EXPECT_EQ(SE_ERR_ACCESSDENIED, OpenLinkTarget("http://127.0.0.1", SW_SHOW));
    root.SetDefault("lumivane.htmfile\\shell\\open\\command", std::string(600, 'q'));
    EXPECT_EQ(SE_ERR_ACCESSDENIED, OpenLinkTarget("http://127.0.0.1", SW_SHOW));
    EXPECT_TRUE(seams.execCalls.empty());
    SetAssociationRoot(previous);
}

TEST(OpenLinkTarget, ALongTargetIsPassedWhole) {
    TestRegistryRoot root("OpenLongTarget");
    root.SetDefault(".htm", "lumivane.htmfile");
    const std::string command = "\"C:\\" + std::string(240, 'p') + ".exe\" \"%1\"";
    root.SetDefault("lumivane.htmfile\\shell\\open\\command", command);
    const HKEY previous = SetAssociationRoot(root.key());
    SeamRecorder seams;
    seams.shellResult = SE_ERR_FNF;
    const std::string target = "http://127.0.0.1/" + std::string(3000, 'z');
    EXPECT_EQ(33, OpenLinkTarget(target.c_str(), SW_SHOW));
    ASSERT_EQ(1u, seams.execCalls.size());
    EXPECT_EQ(command.substr(0, command.size() - 4) + " " + target, seams.execCalls[0].commandLine);
    SetAssociationRoot(previous);
}
