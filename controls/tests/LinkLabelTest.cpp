#include <gtest/gtest.h>

#include <string>

#include "Canvas.h"
#include "DemoDialog.h"
#include "SeamRecorder.h"
#include "framework/base/ScopedHandle.h"
#include "framework/windows/WindowDC.h"

using namespace link_label;

namespace {

const HCURSOR kHand = ::LoadCursorA(nullptr, IDC_HAND);

// A key under HKEY_CURRENT_USER that stands in for HKEY_CLASSES_ROOT; gone with its tree.
struct TestRegistryRoot {
    explicit TestRegistryRoot(const char* name)
        : path(std::string("Software\\LumivaneTest\\") + name) {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
        ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          key.Receive(), nullptr);
    }
    ~TestRegistryRoot() { ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }
    // Creates subKey and sets its default value to exactly these bytes.
    void Set(const char* subKey, const void* data, DWORD size, DWORD type = REG_SZ) {
        ::RegSetKeyValueA(key, subKey, nullptr, type, data, size);
    }
    void Set(const char* subKey, const std::string& text) {
        Set(subKey, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    std::string path;
    CRegKey key;
};

TEST(LinkFitToText, EachAlignmentKeepsItsEdgeAndHalvesTowardZero) {
    const struct {
        RECT rect;
        SIZE text;
        DWORD style;
        RECT fitted;
    } cases[] = {
        {{10, 20, 110, 40}, {37, 13}, SS_LEFT, {10, 20, 47, 33}},
        {{10, 20, 110, 40}, {37, 13}, SS_RIGHT, {73, 20, 110, 33}},
        {{10, 20, 110, 40}, {37, 13}, SS_CENTER | SS_CENTERIMAGE, {41, 23, 79, 37}},
        {{100, 20, 150, 28}, {100, 13}, SS_CENTER | SS_CENTERIMAGE, {75, 18, 175, 30}},
    };
    for (const auto& c : cases) {
        const RECT got = FitRectToText(c.rect, c.text, c.style);
        EXPECT_TRUE(::EqualRect(&got, &c.fitted)) << c.style << ": " << got.left << "," << got.top;
    }
}

TEST(HtmFallbackCommand, CutAtThePlaceholderThenOneBlankAndTheTarget) {
    const std::string ie = "\"C:\\IE\\iexplore.exe\"", longTarget(5000, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"opera.exe %1 -newwindow", "opera.exe  " + longTarget},
        {ie + " -nohome", ie + " -nohome " + longTarget},
        {"viewer.exe %1 \"%1\"", "viewer.exe %1  " + longTarget},
    };
    for (const auto& [command, expected] : cases)
        EXPECT_STREQ(expected.c_str(),
                     BuildHtmFallbackCommand(command.c_str(), longTarget.c_str()));
}

// Anything that does not fit the buffer whole, or is not a non-empty string, counts as
// missing and leaves the output alone.
TEST(ReadKeyDefault, OnlyStringsThatFitTheBufferAreRead) {
    TestRegistryRoot root("ReadKeyDefault");
    const std::string fits(kValueCapacity - 1, 'a'), full(kValueCapacity, 'd');
    const DWORD number = 0x31313131;
    root.Set("fits", fits);
    root.Set("nozero", "abc", 3);
    root.Set("empty", "");
    root.Set("number", &number, sizeof number, REG_DWORD);
    root.Set("onemore", std::string(kValueCapacity, 'b'));
    root.Set("fullnozero", full.data(), static_cast<DWORD>(full.size()));
    CString value;
    EXPECT_EQ(ERROR_SUCCESS, ReadKeyDefault(root.key, "fits", &value));
    EXPECT_STREQ(fits.c_str(), value);
    EXPECT_EQ(ERROR_SUCCESS, ReadKeyDefault(root.key, "nozero", &value));
    EXPECT_STREQ("abc", value);
    for (const char* name : {"missing", "empty", "number", "onemore", "fullnozero"})
        EXPECT_NE(ERROR_SUCCESS, ReadKeyDefault(root.key, name, &value)) << name;
    EXPECT_STREQ("abc", value) << "left alone";
}

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        previousRoot = SetAssociationRoot(registry.key);
    }
    void TearDown() override {
        SetAssociationRoot(previousRoot);
        dialog.DestroyWindow();
    }
    // The dialog's colour request for the label, answered into the canvas.
    HBRUSH ColourRequest(CLinkLabel& link) {
        return reinterpret_cast<HBRUSH>(dialog.SendMessage(WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(canvas.dc()),
                                                           reinterpret_cast<LPARAM>(link.m_hWnd)));
    }
    void Click(CLinkLabel& link) {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(link), STN_CLICKED),
                           reinterpret_cast<LPARAM>(link.m_hWnd));
    }

    TestRegistryRoot registry{"LinkLabel"};
    HKEY previousRoot = nullptr;
    CDemoDialog dialog;
    CLinkLabel& label = dialog.m_linkAddress;
    Canvas canvas{8, 8, RGB(255, 255, 255)};
    SeamRecorder seams;
};

// The click test shows that the target is the text.
TEST_F(LinkLabelTest, AttachmentTakesTextAsTargetOrTargetAsTextFitsOnlyWithAutoSize) {
    EXPECT_TRUE(label.GetStyle() & SS_NOTIFY);
    EXPECT_STREQ("http://127.0.0.1/test", label.GetToolTip().GetToolText(&label, 1));
    EXPECT_EQ(::LoadCursorA(nullptr, IDC_ARROW), label.m_hLinkCursor);
    label.m_hLinkCursor = kHand;
    ::SetCursor(nullptr);
    EXPECT_TRUE(label.SendMessage(WM_SETCURSOR, 0, MAKELPARAM(HTBORDER, WM_MOUSEMOVE)));
    EXPECT_EQ(kHand, ::GetCursor()) << "for every hit test";

    CDemoDialog other;
    other.m_linkEmpty.SetLinkTarget("http://127.0.0.1/preset");
    other.m_linkFitRight.SetAutoSize(TRUE);
    ASSERT_TRUE(other.Create());
    EXPECT_STREQ("http://127.0.0.1/preset", other.m_linkEmpty.GetWindowText());
    for (CDemoDialog* shown : {&dialog, &other}) {
        CLinkLabel& link = shown->m_linkFitRight;
        const CString text = link.GetWindowText();
        CRect place;
        link.GetWindowRect(&place);
        EXPECT_EQ(shown == &other,
                  place.Width() == CClientDC(&link).GetTextExtent(text, text.GetLength()).cx);
    }
    other.DestroyWindow();
}

// SetLinkTarget changes target, colour and tooltip but not the text, and leaves the repaint
// to its caller; MarkVisited repaints.
TEST_F(LinkLabelTest, ColoursBeforeAndAfterSetLinkTargetWhenVisitedAndUnderlined) {
    dialog.ShowWindow(SW_SHOWNA);
    ::SetBkMode(canvas.dc(), OPAQUE);
    EXPECT_EQ(::GetStockObject(NULL_BRUSH), ColourRequest(label));
    EXPECT_EQ(RGB(0, 0, 0), ::GetTextColor(canvas.dc()));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(canvas.dc()));
    ::UpdateWindow(dialog);
    label.SetLinkTarget("mailto:support@lumivane.cn");
    EXPECT_FALSE(::GetUpdateRect(label, nullptr, FALSE));
    EXPECT_STREQ("mailto:support@lumivane.cn", label.GetToolTip().GetToolText(&label, 1));
    EXPECT_STREQ("http://127.0.0.1/test", label.GetWindowText());
    ColourRequest(label);
    EXPECT_EQ(RGB(0, 0, 238), ::GetTextColor(canvas.dc()));
    label.MarkVisited(TRUE);
    EXPECT_TRUE(::GetUpdateRect(label, nullptr, FALSE));
    ColourRequest(label);
    EXPECT_EQ(RGB(85, 26, 139), ::GetTextColor(canvas.dc()));

    // Wine's static selects its own font after the colour request, so an underlined copy of
    // the control's font stands in for it while the underline is on.
    CLinkLabel& underlined = dialog.m_linkUnderlined;
    const HFONT plain = underlined.GetFont();
    underlined.ShowUnderline(TRUE);
    EXPECT_TRUE(::GetUpdateRect(underlined, nullptr, FALSE));
    ColourRequest(underlined);
    const HFONT copy = underlined.GetFont();
    EXPECT_EQ(copy, ::GetCurrentObject(canvas.dc(), OBJ_FONT));
    LOGFONTA own{}, font{};
    ::GetObjectA(plain, sizeof own, &own);
    ::GetObjectA(copy, sizeof font, &font);
    EXPECT_TRUE(font.lfUnderline && own.lfHeight == font.lfHeight);
    EXPECT_STREQ(own.lfFaceName, font.lfFaceName);
    underlined.ShowUnderline(FALSE);
    ColourRequest(underlined);
    EXPECT_EQ(plain, underlined.GetFont());
}

// A click opens the target with the shell; when the shell refuses, the ".htm" program;
// when that fails too, a beep and a message. Visited follows the outcome.
TEST_F(LinkLabelTest, ClicksOpenTheTargetFallBackOrExplain) {
    Click(label);
    ASSERT_EQ(1u, seams.shellCalls.size());
    EXPECT_EQ("open", seams.shellCalls[0].operation);
    EXPECT_EQ("http://127.0.0.1/test", seams.shellCalls[0].file);
    EXPECT_EQ(SW_SHOW, seams.shellCalls[0].show);
    EXPECT_TRUE(label.IsVisited());
    Click(dialog.m_linkEmpty);
    EXPECT_EQ(1u, seams.shellCalls.size()) << "an empty target opens nothing";

    seams.shellResult = SE_ERR_SHARE; // and no ".htm" association yet
    Click(label);
    EXPECT_FALSE(label.IsVisited());
    EXPECT_EQ(std::vector<UINT>{MB_ICONEXCLAMATION}, seams.beeps);
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_STREQ("Unable to open hyperlink:\n\nA sharing violation occurred. ",
                 seams.boxes[0].text);

    const std::string program = "\"C:\\" + std::string(240, 'p') + ".exe\"";
    registry.Set(".htm", "htmlfile");
    registry.Set("htmlfile\\shell\\open\\command", program + " \"%1\"");
    Click(label);
    ASSERT_EQ(1u, seams.execCalls.size());
    EXPECT_EQ(program + "  http://127.0.0.1/test", seams.execCalls[0].commandLine);
    EXPECT_TRUE(label.IsVisited());
}

} // namespace
