#pragma once

#include <windows.h>

#include "framework/windows/GdiObject.h"
#include "framework/ctrl/Static.h"
#include "framework/base/String.h"
#include "framework/ctrl/ToolTipCtrl.h"

// A template's static text turned into a link: link colours on a transparent
// background, the target in a tooltip, the owner's cursor, and a click that opens the target
// with the shell or, failing that, with the program associated with ".htm".
class CLinkLabel : public CStatic {
public:
    CLinkLabel() = default;
    ~CLinkLabel() override;

    const MessageMap* GetMessageMap() const override;
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Link colour RGB(0, 0, 238), new target, fitted size, new tooltip text; no repaint.
    void SetLinkTarget(CString target);
    void ShowUnderline(BOOL underline);
    void MarkVisited(BOOL visited);
    // The owners' set-up: the text (nullptr keeps the template's), the target, the underline
    // when asked for, and the hand cursor.
    void SetUpLink(const char* text, CString target, BOOL underline);
    // Fit the window to its text at attachment and on SetLinkTarget (off unless set).
    void SetAutoSize(BOOL autoSize) { m_bAutoSize = autoSize; }

    const CString& GetLinkTarget() const { return m_strTarget; }
    BOOL IsVisited() const { return m_bVisited; }
    const CToolTipCtrl& GetToolTip() const { return m_toolTip; }

protected:
    void OnLinkClicked();
    HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT message);
    void FitToText();

private:
    COLORREF m_crLink = RGB(0, 0, 0);
    COLORREF m_crVisited = RGB(85, 26, 139);
    BOOL m_bVisited = FALSE;
    BOOL m_bUnderline = FALSE;
    BOOL m_bAutoSize = FALSE;
    CString m_strTarget;
    CFont m_fontUnderline;

public:
    // Shown while the mouse is over the label: the arrow until SetUpLink sets the hand.
    HCURSOR m_hLinkCursor = nullptr;

private:
    CToolTipCtrl m_toolTip;
    // The control's own font while the underline font stands in for it (see CtlColor).
    HFONT m_hPlainFont = nullptr;
};

// The pieces of the label that need no window.
namespace link_label {

inline constexpr COLORREF kLinkColor = RGB(0, 0, 238);
inline constexpr COLORREF kVisitedColor = RGB(85, 26, 139);
// The association values are read into buffers of this size; longer ones count as missing.
inline constexpr DWORD kValueCapacity = 260;

// The window rectangle fitted to a text of the given size, by the static's alignment style.
RECT FitRectToText(const RECT& rect, SIZE text, DWORD style);

// The ".htm" program's command for the target: the command cut at its "%1" placeholder
// (quoted first, else bare; the end when absent), then one blank and the target.
CString BuildHtmFallbackCommand(const CString& associationCommand, const CString& target);

// The default value of root\subKey. Returns ERROR_SUCCESS and sets value, or an error code
// and leaves value alone: key missing, value missing or not a string, empty, or longer
// than kValueCapacity - 1 bytes.
LONG ReadKeyDefault(HKEY root, const char* subKey, CString* value);

// The command of the program associated with ".htm" under classesRoot, or empty.
CString HtmAssociationCommand(HKEY classesRoot);

// Opens the target with the shell's "open"; if that fails, with the ".htm" program found
// under the association root. Greater than 32 means success, else the shell's or WinExec's code.
int OpenLinkTarget(const CString& target, int show);

// Where the ".htm" association is looked up: HKEY_CLASSES_ROOT unless a test set another
// key. Returns the previous root.
HKEY SetAssociationRoot(HKEY root);

// The explanation for a failure code of OpenLinkTarget, without the message's heading.
CString OpenErrorText(int code);
// The whole message box text: the heading "Unable to open hyperlink:" and the explanation.
CString OpenErrorMessage(int code);
void ShowOpenError(int code);

} // namespace link_label
