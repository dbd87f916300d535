#pragma once

#include "framework/windows/Dialog.h"

// A dialog that shows the program's icon: on its title bar and task button, in place of the
// client area while minimised, and as the image dragged for the minimised window.
class CIconDialog : public CDialog {
public:
    CIconDialog(UINT templateId, UINT iconId, CWnd* parent = nullptr);

    // The base initialisation, then the icon as the window's big and small icon.
    BOOL OnInitDialog() override;

protected:
    HICON m_hIcon;

    // For the tables of the derived dialogs, which list them among their own events.
    void OnPaint();
    HCURSOR OnQueryDragIcon();
};
