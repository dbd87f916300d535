#include <gtest/gtest.h>

#include <string>

#include "LinkLabel.h"
#include "SeamRecorder.h"
#include "TestRegistryRoot.h"

using namespace link_label;

namespace {

const char kExplorer[] = "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\"";

TEST(LinkFitToText, EachAlignmentKeepsItsEdgeAndHalvesTowardZero) {
    struct Case {
        RECT rect;
        SIZE text;
        DWORD style;
        RECT fitted;
    } cases[] = {
        {{10, 20, 110, 40}, {37, 13}, SS_LEFT, {10, 20, 47, 33}},
        {{10, 20, 110, 40}, {37, 13}, SS_RIGHT, {73, 20, 110, 33}},
        // (100 - 37) / 2 = 31 on each side, (20 - 13) / 2 = 3.
        {{10, 20, 110, 40}, {37, 13}, SS_CENTER | SS_CENTERIMAGE, {41, 23, 79, 37}},
        // A longer text: -50 and -5 halve to -25 and -2.
        {{100, 20, 150, 28}, {100, 13}, SS_CENTER | SS_CENTERIMAGE, {75, 18, 175, 30}},
    };
    for (const Case& c : cases) {
        const RECT got = FitRectToText(c.rect, c.text, c.style);
        EXPECT_TRUE(::EqualRect(&got, &c.fitted))
            << "style " << c.style << ": " << got.left << "," << got.top << "," << got.right << ","
            << got.bottom;
    }
}

TEST(HtmFallbackCommand, CutAtThePlaceholderThenOneBlankAndTheTarget) {
    const std::string longTarget = "http://127.0.0.1/" + std::string(5000, 'x');
    struct Case {
        std::string command, target, expected;
    } cases[] = {
        {std::string(kExplorer) + " \"%1\"", "http://127.0.0.1",
         std::string(kExplorer) + "  http://127.0.0.1"},
        {"\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url \"%1\" -new-tab",
         "mailto:support@lumivane.cn",
         "\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -osint -url  "
         "mailto:support@lumivane.cn"},
        {"C:\\PROGRA~1\\Opera\\opera.exe %1 -newwindow", "http://127.0.0.1/BBS",
         "C:\\PROGRA~1\\Opera\\opera.exe  http://127.0.0.1/BBS"},
        {std::string(kExplorer) + " -nohome", "http://127.0.0.1",
         std::string(kExplorer) + " -nohome http://127.0.0.1"},
        {"viewer.exe %1 \"%1\"", "http://a", "viewer.exe %1  http://a"},
        {"\"C:\\程序\\浏览器.exe\" \"%1\"", longTarget, "\"C:\\程序\\浏览器.exe\"  " + longTarget},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.expected.c_str(),
                     BuildHtmFallbackCommand(c.command.c_str(), c.target.c_str()))
            << c.command;
}

TEST(OpenErrorTexts, EveryListedCodeUnknownOthersAndTheHeading) {
    const std::pair<int, const char*> listed[] = {
        {0, "The operating system is out\nof memory or resources."},
        {2, "The specified file was not found."},
        {3, "The specified path was not found."},
        {5, "The operating system denied\naccess to the specified file."},
        {8, "There was not enough memory to complete the operation."},
        {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
        {26, "A sharing violation occurred. "},
        {27, "The filename association is\nincomplete or invalid."},
        {28, "The DDE transaction could not\nbe completed because the request timed out."},
        {29, "The DDE transaction failed."},
        {30, "The DDE transaction could not\nbe completed because other DDE transactions\n"
             "were being processed."},
        {31, "There is no application associated\nwith the given filename extension."},
        {32, "The specified dynamic-link library was not found."},
    };
    for (const auto& [code, text] : listed)
        EXPECT_STREQ(text, OpenErrorText(code)) << code;
    for (int code : {1, 4, 7, 9, 12, 25, 33, 1000, -5}) {
        CString expected;
        expected.Format("Unknown Error (%d) occurred.", code);
        EXPECT_EQ(expected, OpenErrorText(code)) << code;
    }
    EXPECT_STREQ("Unable to open hyperlink:\n\nA sharing violation occurred. ",
                 OpenErrorMessage(26));
}

// The association values are read into fixed buffers: anything that does not fit whole,
// or is not a non-empty string, counts as missing and leaves the output alone.
TEST(ReadKeyDefault, OnlyStringsThatFitTheBufferAreRead) {
    TestRegistryRoot root("ReadKeyDefault");
    const std::string fits(kValueCapacity - 1, 'a');
    const std::string full(kValueCapacity, 'd');
    const DWORD number = 0x31313131; // "1111" if read as text
    root.SetDefault(".htm", "htmlfile");
    root.SetDefault("fits", fits);
    root.SetDefaultBytes("nozero", REG_SZ, "abc", 3);
    root.CreateKey("novalue");
    root.SetDefault("empty", "");
    root.SetDefaultBytes("number", REG_DWORD, &number, sizeof number);
    root.SetDefault("onemore", std::string(kValueCapacity, 'b'));
    root.SetDefault("long", std::string(4000, 'c'));
    root.SetDefaultBytes("fullnozero", REG_SZ, full.data(), static_cast<DWORD>(full.size()));

    for (const auto& [name, expected] : {std::pair<const char*, std::string>{".htm", "htmlfile"},
                                         {"fits", fits},
                                         {"nozero", "abc"}}) {
        CString value;
        EXPECT_EQ(ERROR_SUCCESS, ReadKeyDefault(root.key(), name, &value)) << name;
        EXPECT_STREQ(expected.c_str(), value) << name;
    }
    for (const char* name :
         {"missing", "novalue", "empty", "number", "onemore", "long", "fullnozero"}) {
        CString value = "untouched";
        EXPECT_NE(ERROR_SUCCESS, ReadKeyDefault(root.key(), name, &value)) << name;
        EXPECT_STREQ("untouched", value) << name;
    }
}

TEST(HtmAssociation, ClassNameThenItsOpenCommandElseNothing) {
    TestRegistryRoot root("Association");
    EXPECT_STREQ("", HtmAssociationCommand(root.key()));
    root.SetDefault(".htm", "lumivane.htmfile");
    EXPECT_STREQ("", HtmAssociationCommand(root.key()));
    root.CreateKey("lumivane.htmfile\\shell\\open\\command");
    EXPECT_STREQ("", HtmAssociationCommand(root.key()));
    root.SetDefault("lumivane.htmfile\\shell\\open\\command", std::string(kExplorer) + " \"%1\"");
    EXPECT_STREQ((std::string(kExplorer) + " \"%1\"").c_str(), HtmAssociationCommand(root.key()));
    root.SetDefault(".htm", std::string(300, 'x'));
    EXPECT_STREQ("", HtmAssociationCommand(root.key()));
}

class OpenLinkTargetTest : public ::testing::Test {
protected:
    void SetUp() override { previous = SetAssociationRoot(root.key()); }
    void TearDown() override { SetAssociationRoot(previous); }
    TestRegistryRoot root{"OpenLinkTarget"};
    HKEY previous = nullptr;
    SeamRecorder seams;
};

TEST_F(OpenLinkTargetTest, WithoutAUsableAssociationTheShellCodeStands) {
    seams.shellResult = SE_ERR_NOASSOC;
    EXPECT_EQ(SE_ERR_NOASSOC, OpenLinkTarget("http://127.0.0.1", SW_SHOW));
    root.SetDefault(".htm", "lumivane.htmfile");
    seams.shellResult = SE_ERR_ACCESSDENIED;
    for (const std::string& command : {std::string(), std::string(600, 'q')}) {
        root.SetDefault("lumivane.htmfile\\shell\\open\\command", command);
        EXPECT_EQ(SE_ERR_ACCESSDENIED, OpenLinkTarget("http://127.0.0.1", SW_SHOW));
    }
    EXPECT_TRUE(seams.execCalls.empty());
}

TEST_F(OpenLinkTargetTest, ALongCommandAndTargetArePassedWhole) {
    root.SetDefault(".htm", "lumivane.htmfile");
    const std::string program = "\"C:\\" + std::string(240, 'p') + ".exe\"";
    root.SetDefault("lumivane.htmfile\\shell\\open\\command", program + " \"%1\"");
    seams.shellResult = SE_ERR_FNF;
    const std::string target = "http://127.0.0.1/" + std::string(3000, 'z');
    EXPECT_EQ(33, OpenLinkTarget(target.c_str(), SW_SHOW));
    ASSERT_EQ(1u, seams.execCalls.size());
    EXPECT_EQ(program + "  " + target, seams.execCalls[0].commandLine);
}

} // namespace
