#pragma once

#include "framework/windows/DataExchange.h"
#include "framework/windows/Dialog.h"
#include "LinkLabel.h"
#include "DemoRes.h"
#include "XPButton.h"

// The demonstration template with every link static and push button attached to a control.
class CDemoDialog : public CDialog {
public:
    CDemoDialog() : CDialog(IDD_CONTROLS_DEMO) {}

    void DoDataExchange(CDataExchange* exchange) override {
        DDX_Control(exchange, IDC_LINK_ADDRESS, m_linkAddress);
        DDX_Control(exchange, IDC_LINK_EMPTY, m_linkEmpty);
        DDX_Control(exchange, IDC_LINK_FIT_LEFT, m_linkFitLeft);
        DDX_Control(exchange, IDC_LINK_FIT_RIGHT, m_linkFitRight);
        DDX_Control(exchange, IDC_LINK_FIT_CENTER, m_linkFitCenter);
        DDX_Control(exchange, IDC_LINK_UNDERLINED, m_linkUnderlined);
        DDX_Control(exchange, IDC_BUTTON_NORMAL, m_btnNormal);
        DDX_Control(exchange, IDC_BUTTON_HOVER, m_btnHover);
        DDX_Control(exchange, IDC_BUTTON_PRESSED, m_btnPressed);
        DDX_Control(exchange, IDC_BUTTON_DISABLED, m_btnDisabled);
        DDX_Control(exchange, IDC_BUTTON_FOCUSED, m_btnFocused);
        DDX_Control(exchange, IDC_BUTTON_EMPTY, m_btnEmpty);
    }

    CLinkLabel m_linkAddress;
    CLinkLabel m_linkEmpty;
    CLinkLabel m_linkFitLeft;
    CLinkLabel m_linkFitRight;
    CLinkLabel m_linkFitCenter;
    CLinkLabel m_linkUnderlined;
    CXPButton m_btnNormal;
    CXPButton m_btnHover;
    CXPButton m_btnPressed;
    CXPButton m_btnDisabled;
    CXPButton m_btnFocused;
    CXPButton m_btnEmpty;
};
