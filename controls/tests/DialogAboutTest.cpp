#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "AboutRes.h"
#include "DialogAbout.h"
#include "TestSupport.h"
#include "VendorSite.h"

namespace {

HCURSOR Arrow() {
    return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
}
HCURSOR Hand() {
    return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
}

std::wstring Widen(const char* ascii) {
    return std::wstring(ascii, ascii + std::strlen(ascii));
}

// One control of a dialog template as the resource stores it.
struct TemplateItem {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    WORD classOrdinal = 0; // 0x80 button, 0x82 static; 0 when named
    std::wstring className;
    WORD titleOrdinal = 0; // an icon's resource number
    std::wstring title;
};

struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    short cx = 0, cy = 0;
    std::wstring caption;
    WORD pointSize = 0;
    std::wstring font;
    std::vector<TemplateItem> items;
};

class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : m_at(data) {}
    WORD Word() {
        WORD v;
        std::memcpy(&v, m_at, 2);
        m_at += 2;
        return v;
    }
    DWORD Dword() {
        DWORD v;
        std::memcpy(&v, m_at, 4);
        m_at += 4;
        return v;
    }
    short Short() { return static_cast<short>(Word()); }
    std::wstring String() {
        std::wstring text;
        for (WORD ch = Word(); ch; ch = Word())
            text += static_cast<wchar_t>(ch);
        return text;
    }
    // A name or an ordinal (0xFFFF followed by the number); 0 ordinal and empty for none.
    void NameOrOrdinal(WORD* ordinal, std::wstring* name) {
        WORD first;
        std::memcpy(&first, m_at, 2);
        if (first == 0xFFFF) {
            Word();
            *ordinal = Word();
        } else {
            *name = String();
        }
    }
    void AlignDword(const BYTE* base) {
        while ((m_at - base) % 4)
            ++m_at;
    }
    const BYTE* m_at;
};

DialogTemplate LoadTemplate(UINT id) {
    DialogTemplate result;
    const HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (!found)
        return result;
    const BYTE* base = static_cast<const BYTE*>(::LockResource(::LoadResource(nullptr, found)));
    TemplateReader in(base);
    WORD count = 0;
    if (reinterpret_cast<const WORD*>(base)[1] == 0xFFFF) {
        result.extended = true;
        in.Word();
        in.Word();
        in.Dword(); // help id
        in.Dword(); // extended style
        result.style = in.Dword();
    } else {
        result.style = in.Dword();
        in.Dword();
    }
    count = in.Word();
    in.Short();
    in.Short();
    result.cx = in.Short();
    result.cy = in.Short();
    WORD ordinal = 0;
    std::wstring name;
    in.NameOrOrdinal(&ordinal, &name); // menu
    in.NameOrOrdinal(&ordinal, &name); // class
    result.caption = in.String();
    if (result.style & DS_SETFONT) {
        result.pointSize = in.Word();
        if (result.extended) {
            in.Word();
            in.Word(); // italic and charset bytes
        }
        result.font = in.String();
    }
    for (WORD i = 0; i < count; ++i) {
        in.AlignDword(base);
        TemplateItem item;
        if (result.extended) {
            in.Dword();
            in.Dword();
            item.style = in.Dword();
        } else {
            item.style = in.Dword();
            in.Dword();
        }
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = result.extended ? static_cast<short>(in.Dword() & 0xFFFF) : in.Short();
        in.NameOrOrdinal(&item.classOrdinal, &item.className);
        in.NameOrOrdinal(&item.titleOrdinal, &item.title);
        in.m_at += in.Word(); // creation data
        result.items.push_back(item);
    }
    return result;
}

enum Kind { Button, DefButton, Text, CentredText, Icon, Line };

struct Expected {
    int id;
    Kind kind;
    short x, y, cx, cy;
    std::wstring text; // a prefix of the control's text; empty: any
};

void ExpectControls(const DialogTemplate& dialog, const std::vector<Expected>& expected) {
    ASSERT_EQ(expected.size(), dialog.items.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Expected& want = expected[i];
        const TemplateItem& item = dialog.items[i];
        SCOPED_TRACE("control " + std::to_string(i));
        EXPECT_EQ(want.id, item.id);
        EXPECT_EQ(want.x, item.x);
        EXPECT_EQ(want.y, item.y);
        EXPECT_EQ(want.cx, item.cx);
        EXPECT_EQ(want.cy, item.cy);
        EXPECT_TRUE(item.style & WS_VISIBLE);
        EXPECT_TRUE(item.style & WS_CHILD);
        switch (want.kind) {
        case Button:
        case DefButton:
            EXPECT_EQ(0x80, item.classOrdinal);
            EXPECT_EQ(want.kind == Button ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON,
                      static_cast<int>(item.style & BS_TYPEMASK));
            EXPECT_TRUE(item.style & WS_TABSTOP);
            break;
        case Text:
        case CentredText:
            EXPECT_EQ(0x82, item.classOrdinal);
            EXPECT_EQ(want.kind == Text ? SS_LEFT : SS_CENTER,
                      static_cast<int>(item.style & SS_TYPEMASK));
            EXPECT_FALSE(item.style & SS_NOTIFY);
            break;
        case Icon:
            EXPECT_TRUE(item.classOrdinal == 0x82 ||
                        _wcsicmp(item.className.c_str(), L"Static") == 0);
            EXPECT_EQ(SS_ICON, static_cast<int>(item.style & SS_TYPEMASK));
            EXPECT_EQ(IDI_ABOUT_PROGRAM, item.titleOrdinal);
            break;
        case Line: // the resource compiler may keep the class as the name "Static"
            EXPECT_TRUE(item.classOrdinal == 0x82 ||
                        _wcsicmp(item.className.c_str(), L"Static") == 0);
            EXPECT_EQ(SS_ETCHEDHORZ, static_cast<int>(item.style & SS_TYPEMASK));
            break;
        }
        if (!want.text.empty()) {
            EXPECT_EQ(want.text, item.title.substr(0, want.text.size()));
        }
    }
}

const std::wstring kWarning = L"警告：本计算机程序受著作权法和国际条约保护。";

} // namespace

TEST(AboutTemplates, ZipdexTemplateAsPart43Says) {
    const DialogTemplate dialog = LoadTemplate(IDD_ABOUT_ZIPDEX);
    EXPECT_EQ(0x80C800C8u, dialog.style);
    EXPECT_EQ(253, dialog.cx);
    EXPECT_EQ(143, dialog.cy);
    EXPECT_EQ(L"关于 ruzuvadi", dialog.caption);
    EXPECT_EQ(8, dialog.pointSize);
    EXPECT_EQ(L"MS Shell Dlg", dialog.font);
    ExpectControls(dialog, {
                               {IDOK, Button, 192, 7, 54, 16, L"确定"},
                               {-1, Text, 81, 18, 65, 8, L"ruzuvadi"},
                               {-1, Icon, 24, 33, 21, 20, L""},
                               {-1, Text, 64, 35, 100, 8, L"版本: V1.0 内部版本: "},
                               {-1, Text, 64, 50, 97, 8, L"版权所有"},
                               {-1, Text, 64, 65, 25, 8, L"网站："},
                               {-1, Text, 64, 80, 25, 8, L"信箱："},
                               {-1, Line, 7, 100, 239, 1, L""},
                               {-1, Text, 7, 109, 239, 27, kWarning},
                               {1009, Text, 91, 65, 86, 8, Widen(LUMIVANE_VENDOR_ADDRESS)},
                               {1010, Text, 91, 80, 75, 8, Widen(LUMIVANE_VENDOR_EMAIL)},
                           });
    EXPECT_EQ(Widen(LUMIVANE_VENDOR_ADDRESS), dialog.items[9].title);
    EXPECT_EQ(Widen(LUMIVANE_VENDOR_EMAIL), dialog.items[10].title);
    EXPECT_NE(std::wstring::npos, dialog.items[4].title.find(L"澜图软件"));
}

TEST(AboutTemplates, PackageTemplateAsPart43Says) {
    const DialogTemplate dialog = LoadTemplate(IDD_ABOUT_PACKAGE);
    EXPECT_EQ(0x80C800C0u, dialog.style);
    EXPECT_EQ(239, dialog.cx);
    EXPECT_EQ(135, dialog.cy);
    EXPECT_EQ(L"关于 ruzuviva", dialog.caption);
    EXPECT_EQ(9, dialog.pointSize);
    EXPECT_EQ(L"宋体", dialog.font);
    ExpectControls(dialog, {
                               {-1, Icon, 22, 31, 20, 20, L""},
                               {-1, CentredText, 52, 15, 107, 8, L"ruzuviva"},
                               {-1, Text, 57, 46, 119, 8, L"版权所有"},
                               {IDOK, DefButton, 182, 7, 50, 16, L"确定"},
                               {-1, Text, 57, 32, 125, 8, L"版本： V1.2 内部版本: "},
                               {-1, Text, 57, 60, 25, 8, L"网站："},
                               {-1, Text, 57, 74, 25, 8, L"信箱："},
                               {-1, Line, 7, 92, 225, 1, L""},
                               {-1, Text, 7, 101, 225, 24, kWarning},
                               {1014, Text, 84, 73, 81, 8, Widen(LUMIVANE_VENDOR_EMAIL)},
                               {1010, Text, 84, 60, 93, 8, Widen(LUMIVANE_VENDOR_ADDRESS)},
                           });
    EXPECT_TRUE(dialog.items[1].style & SS_NOPREFIX);
    EXPECT_TRUE(dialog.items[3].style & WS_GROUP);
}

TEST(VendorSite, OneSettingForHostAddressAndMail) {
    EXPECT_STREQ("127.0.0.1", LUMIVANE_VENDOR_HOST);
    EXPECT_EQ(std::string("http://") + LUMIVANE_VENDOR_HOST, LUMIVANE_VENDOR_ADDRESS);
    EXPECT_EQ(std::string("mailto:") + LUMIVANE_VENDOR_EMAIL, LUMIVANE_VENDOR_MAILTO);
}

namespace {

struct AboutCase {
    const AboutTemplate* layout;
    const char* caption;
    const char* name;
};

class AboutBoxTest : public ::testing::TestWithParam<AboutCase> {
protected:
    void SetUp() override {
        about = std::make_unique<CDialogAbout>(*GetParam().layout);
        ASSERT_TRUE(about->Create());
    }
    void TearDown() override {
        if (about)
            about->DestroyWindow();
    }
    std::unique_ptr<CDialogAbout> about;
};

} // namespace

TEST_P(AboutBoxTest, CaptionAndNameAreTheProgramsOwn) {
    EXPECT_EQ(CString(GetParam().caption), about->GetWindowText());
    bool nameShown = false;
    for (const ChildWindow& child : ChildWindows(*about))
        nameShown = nameShown || child.text == GetParam().name;
    EXPECT_TRUE(nameShown);
}

TEST_P(AboutBoxTest, IconStaticShowsIcon128) {
    HICON icon = nullptr;
    for (const ChildWindow& child : ChildWindows(*about))
        if ((::GetWindowLongA(child.window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = reinterpret_cast<HICON>(::SendMessageA(child.window, STM_GETICON, 0, 0));
    EXPECT_NE(nullptr, icon);
}

TEST_P(AboutBoxTest, LinksTextsTargetsTooltipsAndColours) {
    CLinkLabel& web = about->GetWebLink();
    CLinkLabel& mail = about->GetEmailLink();
    EXPECT_EQ(GetParam().layout->webLinkId, ::GetDlgCtrlID(web));
    EXPECT_EQ(GetParam().layout->emailLinkId, ::GetDlgCtrlID(mail));

    EXPECT_EQ(CString(LUMIVANE_VENDOR_ADDRESS), web.GetWindowText());
    EXPECT_EQ(CString("http://127.0.0.1"), web.GetLinkTarget());
    EXPECT_EQ(CString("http://127.0.0.1"), web.GetToolTip().GetToolText(&web, 1));

    EXPECT_EQ(CString("support@lumivane.cn"), mail.GetWindowText());
    EXPECT_EQ(CString("mailto:support@lumivane.cn"), mail.GetLinkTarget());
    EXPECT_EQ(CString("mailto:support@lumivane.cn"), mail.GetToolTip().GetToolText(&mail, 1));

    for (CLinkLabel* link : {&web, &mail}) {
        EXPECT_TRUE(link->GetStyle() & SS_NOTIFY);
        EXPECT_FALSE(link->IsUnderlined());
        Canvas canvas(4, 4, RGB(255, 255, 255));
        about->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc()),
                           reinterpret_cast<LPARAM>(link->m_hWnd));
        EXPECT_EQ(RGB(0, 0, 238), ::GetTextColor(canvas.dc()));
        EXPECT_EQ(nullptr, link->GetUnderlineFont());
    }
}

TEST_P(AboutBoxTest, HandOverTheLinksArrowElsewhere) {
    for (CLinkLabel* link : {&about->GetWebLink(), &about->GetEmailLink()}) {
        EXPECT_EQ(Hand(), link->m_hLinkCursor);
        ::SetCursor(nullptr);
        link->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link->m_hWnd),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(Hand(), ::GetCursor());
    }
    ::SetCursor(nullptr);
    about->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(about->m_hWnd),
                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(Arrow(), ::GetCursor());
}

TEST_P(AboutBoxTest, LinkClicksOpenTheVendorSiteAndMail) {
    SeamRecorder seams;
    seams.shellResult = 42;
    for (CLinkLabel* link : {&about->GetWebLink(), &about->GetEmailLink()})
        about->SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(*link), STN_CLICKED),
                           reinterpret_cast<LPARAM>(link->m_hWnd));
    ASSERT_EQ(2u, seams.shellCalls.size());
    EXPECT_EQ("http://127.0.0.1", seams.shellCalls[0].file);
    EXPECT_EQ("mailto:support@lumivane.cn", seams.shellCalls[1].file);
    EXPECT_TRUE(about->GetWebLink().IsVisited());
    EXPECT_TRUE(about->GetEmailLink().IsVisited());
}

TEST_P(AboutBoxTest, AFailedOpenBeepsExplainsAndTheBoxStays) {
    TestRegistryRoot registry("AboutBox");
    const HKEY previous = link_label::SetAssociationRoot(registry.key());
    SeamRecorder seams;
    seams.shellResult = SE_ERR_NOASSOC;
    CLinkLabel& mail = about->GetEmailLink();
    about->SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(mail), STN_CLICKED),
                       reinterpret_cast<LPARAM>(mail.m_hWnd));
    link_label::SetAssociationRoot(previous);
    EXPECT_EQ(1u, seams.beeps.size());
    ASSERT_EQ(1u, seams.boxes.size());
    EXPECT_EQ("Unable to open hyperlink:\n\nThere is no application associated\nwith the given "
              "filename extension.",
              seams.boxes[0].text);
    EXPECT_TRUE(::IsWindow(*about));
    EXPECT_TRUE(::IsWindowVisible(*about) || !(::GetWindowLongA(*about, GWL_STYLE) & WS_VISIBLE));
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, AboutBoxTest,
                         ::testing::Values(AboutCase{&kAboutZipdex, "关于 ruzuvadi", "ruzuvadi"},
                                           AboutCase{&kAboutPackage, "关于 ruzuviva", "ruzuviva"}),
                         [](const ::testing::TestParamInfo<AboutCase>& info) {
                             return info.param.layout == &kAboutZipdex ? std::string("zipdex")
                                                                       : std::string("package");
                         });

TEST(AboutBox, DefaultConstructionUsesTheProgramsTemplate) {
    CDialogAbout about; // this test program is linked like zipdex
    EXPECT_EQ(static_cast<UINT>(IDD_ABOUT_ZIPDEX), about.GetTemplateId());
}

namespace {
void CALLBACK PressOk(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (HWND box = ::FindWindowA(nullptr, "关于 ruzuviva"))
        ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}
} // namespace

TEST(AboutBox, ModalRunEndsWithTheOkButtonAndFocusStartsThere) {
    CDialogAbout about(kAboutPackage);
    ::SetTimer(nullptr, 0, 50, &PressOk);
    EXPECT_EQ(IDOK, about.DoModal());
    EXPECT_EQ(nullptr, about.m_hWnd);
}
