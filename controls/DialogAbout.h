#pragma once

#include "framework/windows/Dialog.h"
#include "LinkLabel.h"

// Which template the about box uses and which of its statics become the two links.
struct AboutTemplate {
    UINT templateId;
    int webLinkId;
    int emailLinkId;
};

extern const AboutTemplate kAboutZipdex;
extern const AboutTemplate kAboutPackage;

// The template of the program being built: defined by the about source that
// lumivane_link_controls adds to the program (AboutZipdex.cpp or AboutPackage.cpp).
const AboutTemplate& ProgramAboutTemplate();

// The modal about box of zipdex and package: icon, name, version, copyright,
// legal warning, and links to the vendor's web site and e-mail address.
class CDialogAbout : public CDialog {
public:
    explicit CDialogAbout(CWnd* parent = nullptr);
    explicit CDialogAbout(const AboutTemplate& layout, CWnd* parent = nullptr);
    ~CDialogAbout() override;

    const MessageMap* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;

    CLinkLabel& GetWebLink() { return m_linkWeb; }
    CLinkLabel& GetEmailLink() { return m_linkEmail; }

private:
    CLinkLabel m_linkWeb;
    CLinkLabel m_linkEmail;
    const AboutTemplate& m_layout;
};
