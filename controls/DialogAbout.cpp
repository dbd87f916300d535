#include "DialogAbout.h"

#include "AboutRes.h"
#include "framework/windows/DataExchange.h"
#include "VendorSite.h"

const AboutTemplate kAboutZipdex{IDD_ABOUT_ZIPDEX, IDC_ABOUT_ZIPDEX_WEB, IDC_ABOUT_ZIPDEX_EMAIL};
const AboutTemplate kAboutPackage{IDD_ABOUT_PACKAGE, IDC_ABOUT_PACKAGE_WEB,
                                  IDC_ABOUT_PACKAGE_EMAIL};

CDialogAbout::CDialogAbout(CWnd* parent) : CDialogAbout(ProgramAboutTemplate(), parent) {}

CDialogAbout::CDialogAbout(const AboutTemplate& layout, CWnd* parent)
    : CDialog(layout.templateId, parent), m_layout(layout) {}

CDialogAbout::~CDialogAbout() = default;

const MessageMap* CDialogAbout::GetMessageMap() const {
    static const MessageMap map(CDialog::GetMessageMap(), {});
    return &map;
}

void CDialogAbout::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, m_layout.webLinkId, m_linkWeb);
    DDX_Control(exchange, m_layout.emailLinkId, m_linkEmail);
}

BOOL CDialogAbout::OnInitDialog() {
    CDialog::OnInitDialog();
    m_linkWeb.SetUpLink(nullptr, LUMIVANE_VENDOR_ADDRESS, FALSE);
    m_linkEmail.SetUpLink(nullptr, LUMIVANE_VENDOR_MAILTO, FALSE);
    return TRUE;
}
