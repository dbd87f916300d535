#pragma once

#include "framework/windows/Wnd.h"

// A dialog from a template in the program's resources. DoModal runs the framework's own
// modal loop, so that PreTranslateMessage of the dialog and its controls sees every message.
// The window is subclassed as it is made, so its messages go through the message map, save
// WM_INITDIALOG: it goes to OnInitDialog, and the map refuses an entry for it.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    virtual INT_PTR DoModal();
    // Modeless, from the same template (used by tests).
    BOOL Create(CWnd* parent = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    BOOL PreTranslateMessage(MSG* msg) override;
    const MessageMap* GetMessageMap() const override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT GetTemplateId() const { return m_nIDTemplate; }

protected:
    // Fills controls from the template's initialisation data (resource type 240).
    void ExecuteDlgInit();

private:
    LRESULT OnHelpKey(WPARAM wParam, LPARAM lParam);
    HWND CreateFromTemplate(HWND owner);
    HWND ModalOwner() const;
    void RunModalLoop();

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    bool m_bModal = false;
    bool m_bEnded = false;
    int m_nModalResult = -1;
};
