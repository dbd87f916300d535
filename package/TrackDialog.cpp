#include "TrackDialog.h"

#include "ConfigDownload.h"
#include "DialogAbout.h"
#include "VendorSite.h"
#include "framework/windows/App.h"
#include "framework/windows/DataExchange.h"
#include "framework/base/Module.h"
#include "framework/base/Shell.h"
#include "framework/net/WebAddress.h"
#include "framework/com/XmlDom.h"

namespace {

const char kStatusText[] = "澜图软件 荣誉出品 " LUMIVANE_VENDOR_ADDRESS;
const char kForumAddress[] = LUMIVANE_VENDOR_ADDRESS "/BBS";
const char kOnlineAddress[] = LUMIVANE_VENDOR_ADDRESS "/Kd";
const char kWelcomeAddress[] = LUMIVANE_VENDOR_ADDRESS "/Package/Application/welcome.htm";

void OpenInBrowser(const char* address) {
    AfxShellExecute(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace

CTrackDialog::CTrackDialog(CWnd* parent) : CIconDialog(IDD_TRACK, IDI_PACKAGE, parent) {}

CTrackDialog::~CTrackDialog() = default;

const MessageMap* CTrackDialog::GetMessageMap() const {
    static const MessageMap map(
        CIconDialog::GetMessageMap(),
        {
            OnMessage<WM_PAINT, &CTrackDialog::OnPaint>(),
            OnMessage<WM_QUERYDRAGICON, &CTrackDialog::OnQueryDragIcon>(),
            OnCommand<&CTrackDialog::OnAbout>(IDC_BUTTON_ABOUT),
            OnMessage<WM_DESTROY, &CTrackDialog::OnDestroy>(),
            OnMessage<WM_HTML_PROGRESS, &CTrackDialog::OnHtmlProgress>(),
            OnCommand<&CTrackDialog::OnSelchangeCompany>(IDC_COMBO_COMPANY, CBN_SELCHANGE),
            OnCommand<&CTrackDialog::OnHomepage>(IDC_BUTTON_HOMEPAGE),
            OnCommand<&CTrackDialog::OnForum>(IDC_BUTTON_FORUM),
            OnCommand<&CTrackDialog::OnOnline>(IDC_BUTTON_ONLINE),
        });
    return &map;
}

void CTrackDialog::DoDataExchange(CDataExchange* exchange) {
    DDX_Control(exchange, IDC_PROGRESS_PAGE, m_progress);
    DDX_Control(exchange, IDC_BUTTON_HOMEPAGE, m_btnHomepage);
    DDX_Control(exchange, IDC_BUTTON_ABOUT, m_btnAbout);
    DDX_Control(exchange, IDC_COMBO_COMPANY, m_comboCompany);
    DDX_Control(exchange, IDC_BUTTON_FORUM, m_btnForum);
    DDX_Control(exchange, IDC_LINK_STATUS, m_linkStatus);
    DDX_Control(exchange, IDC_BUTTON_ONLINE, m_btnOnline);
}

BOOL CTrackDialog::OnInitDialog() {
    CIconDialog::OnInitDialog();
    LoadExpressConfig();

    m_linkStatus.SetUpLink(kStatusText, LUMIVANE_VENDOR_ADDRESS, TRUE);

    m_browser.CreateFromPlaceholder(IDC_STATIC_BROWSER, this);

    for (int i = 0; i < m_comboCompany.GetCount(); ++i) {
        CString item;
        m_comboCompany.GetLBText(i, item);
        if (item == m_strCompany) {
            m_comboCompany.SetCurSel(i);
            break;
        }
    }
    if (m_comboCompany.GetCurSel() != CB_ERR)
        OnSelchangeCompany();
    else
        m_browser.Navigate(kWelcomeAddress);
    return TRUE;
}

void CTrackDialog::LoadExpressConfig() {
    const CComPtr<IXMLDOMNodeList> entries =
        ReadCompanyEntries(GetModuleDirectory() + kConfigFileName, kMaxConfigBytes);
    if (!entries)
        return;
    long count = 0;
    for (long i = 0; SUCCEEDED(entries->get_length(&count)) && i < count; ++i) {
        CComPtr<IXMLDOMNode> node;
        if (FAILED(entries->get_item(i, &node)))
            break;
        // An entry without a Name or URL counts with an empty one.
        const CComPtr<IXMLDOMElement> entry = AsXmlElement(node);
        if (!entry)
            break;
        const CString name = XmlAttribute(entry, "Name");
        m_mapExpressUrl.SetAt(name, XmlAttribute(entry, "URL"));
        m_comboCompany.AddString(name);
    }
}

void CTrackDialog::OnSelchangeCompany() {
    const int selected = m_comboCompany.GetCurSel();
    if (selected == CB_ERR)
        return;
    CString name;
    m_comboCompany.GetLBText(selected, name);
    // configs.xml comes unsigned over plain HTTP: nothing but a web page goes into the pane.
    CString url;
    if (m_mapExpressUrl.Lookup(name, url))
        m_browser.Navigate(IsWebAddress(url) ? url : CString(kWelcomeAddress));
}

LRESULT CTrackDialog::OnHtmlProgress(WPARAM progress, LPARAM progressMax) {
    const int position = static_cast<int>(progress);
    const int maximum = static_cast<int>(progressMax);
    if (maximum != 0) {
        m_progress.SetRange32(0, maximum);
        m_progress.SetPos(position);
    } else if (position == 0) {
        m_progress.SetPos(0);
    } else {
        int lower = 0;
        int upper = 0;
        m_progress.GetRange(lower, upper);
        m_progress.SetPos(upper);
    }
    return 0;
}

void CTrackDialog::OnHomepage() {
    OpenInBrowser(LUMIVANE_VENDOR_ADDRESS);
}

void CTrackDialog::OnForum() {
    OpenInBrowser(kForumAddress);
}

void CTrackDialog::OnOnline() {
    OpenInBrowser(kOnlineAddress);
}

void CTrackDialog::OnAbout() {
    CDialogAbout about;
    about.DoModal();
}

void CTrackDialog::OnDestroy() {
    const int selected = m_comboCompany.GetCurSel();
    if (selected != CB_ERR)
        m_comboCompany.GetLBText(selected, m_strCompany);
    Default();
}
