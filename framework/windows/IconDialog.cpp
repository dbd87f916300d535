#include "framework/windows/IconDialog.h"

#include "framework/base/Module.h"
#include "framework/windows/WindowDC.h"

CIconDialog::CIconDialog(UINT templateId, UINT iconId, CWnd* parent)
    : CDialog(templateId, parent),
      m_hIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconId))) {}

BOOL CIconDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    return TRUE;
}

// While minimised, the icon centred on an erased background; otherwise the dialog's own painting.
void CIconDialog::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()));
    CRect client;
    GetClientRect(&client);
    const int x = (client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CIconDialog::OnQueryDragIcon() {
    return m_hIcon;
}
