#include "LinkLabel.h"

#include <shellapi.h>

#include "framework/windows/App.h"
#include "framework/base/Shell.h"
#include "framework/base/ScopedHandle.h"

namespace link_label {

namespace {

HKEY g_associationRoot = HKEY_CLASSES_ROOT;

} // namespace

RECT FitRectToText(const RECT& rect, SIZE text, DWORD style) {
    RECT fitted = rect;
    if (style & SS_CENTERIMAGE) {
        const LONG shrink = (rect.bottom - rect.top - text.cy) / 2;
        fitted.top += shrink;
        fitted.bottom -= shrink;
    } else {
        fitted.bottom = fitted.top + text.cy;
    }
    if (style & SS_CENTER) {
        const LONG shrink = (rect.right - rect.left - text.cx) / 2;
        fitted.left += shrink;
        fitted.right -= shrink;
    } else if (style & SS_RIGHT) {
        fitted.left = fitted.right - text.cx;
    } else {
        fitted.right = fitted.left + text.cx;
    }
    return fitted;
}

CString BuildHtmFallbackCommand(const CString& associationCommand, const CString& target) {
    int cut = associationCommand.Find("\"%1\"");
    if (cut < 0)
        cut = associationCommand.Find("%1");
    if (cut < 0)
        cut = associationCommand.GetLength();
    return associationCommand.Left(cut) + " " + target;
}

LONG ReadKeyDefault(HKEY root, const char* subKey, CString* value) {
    CRegKey key;
    LONG status = ::RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, key.Receive());
    if (status != ERROR_SUCCESS)
        return status;
    char buffer[kValueCapacity];
    DWORD type = REG_NONE;
    DWORD size = sizeof buffer;
    status = ::RegQueryValueExA(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                                &size);
    if (status != ERROR_SUCCESS) // missing (2) or longer than the buffer (234)
        return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    // A stored value need not end in a zero; one that fills the buffer without one is too long.
    DWORD length = 0;
    while (length < size && buffer[length] != '\0')
        ++length;
    if (length == sizeof buffer)
        return ERROR_MORE_DATA;
    if (length == 0)
        return ERROR_FILE_NOT_FOUND;
    *value = CString(buffer, static_cast<int>(length));
    return ERROR_SUCCESS;
}

CString HtmAssociationCommand(HKEY classesRoot) {
    CString className;
    if (ReadKeyDefault(classesRoot, ".htm", &className) != ERROR_SUCCESS)
        return CString();
    CString command;
    if (ReadKeyDefault(classesRoot, className + "\\shell\\open\\command", &command) !=
        ERROR_SUCCESS)
        return CString();
    return command;
}

int OpenLinkTarget(const CString& target, int show) {
    const int shellResult = static_cast<int>(reinterpret_cast<INT_PTR>(
        AfxShellExecute(nullptr, "open", target, nullptr, nullptr, show)));
    if (shellResult > 32)
        return shellResult;
    const CString command = HtmAssociationCommand(g_associationRoot);
    if (command.IsEmpty())
        return shellResult;
    return static_cast<int>(
        AfxWinExec(BuildHtmFallbackCommand(command, target), static_cast<UINT>(show)));
}

HKEY SetAssociationRoot(HKEY root) {
    const HKEY previous = g_associationRoot;
    g_associationRoot = root;
    return previous;
}

CString OpenErrorText(int code) {
    switch (code) {
    case 0:
        return "The operating system is out\nof memory or resources.";
    case SE_ERR_FNF:
        return "The specified file was not found.";
    case SE_ERR_PNF:
        return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED:
        return "The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM:
        return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT:
        return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE:
        return "A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE:
        return "The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT:
        return "The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL:
        return "The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
        return "The DDE transaction could not\nbe completed because other DDE "
               "transactions\nwere being processed.";
    case SE_ERR_NOASSOC:
        return "There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND:
        return "The specified dynamic-link library was not found.";
    default: {
        CString text;
        text.Format("Unknown Error (%d) occurred.", code);
        return text;
    }
    }
}

CString OpenErrorMessage(int code) {
    return "Unable to open hyperlink:\n\n" + OpenErrorText(code);
}

void ShowOpenError(int code) {
    AfxMessageBox(OpenErrorMessage(code), MB_ICONEXCLAMATION);
}

} // namespace link_label

CLinkLabel::~CLinkLabel() {
    // The window may outlive this object for a moment; it must not keep a deleted font.
    if (m_hPlainFont && ::IsWindow(m_hWnd))
        SetFont(m_hPlainFont, FALSE);
}

const MessageMap* CLinkLabel::GetMessageMap() const {
    static const MessageMap map(CStatic::GetMessageMap(),
                                {
                                    OnReflectCommand<&CLinkLabel::OnLinkClicked>(STN_CLICKED),
                                    OnReflectMessage<WM_CTLCOLORSTATIC, &CLinkLabel::CtlColor>(),
                                    OnMessage<WM_SETCURSOR, &CLinkLabel::OnSetCursor>(),
                                });
    return &map;
}

void CLinkLabel::PreSubclassWindow() {
    ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(GetStyle() | SS_NOTIFY));
    if (m_strTarget.IsEmpty())
        m_strTarget = GetWindowText();
    if (GetWindowText().IsEmpty())
        SetWindowText(m_strTarget);
    FitToText();
    m_hLinkCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    CRect client;
    GetClientRect(&client);
    m_toolTip.Create(this, 0);
    m_toolTip.AddTool(this, m_strTarget, &client, 1);
    CStatic::PreSubclassWindow();
}

BOOL CLinkLabel::PreTranslateMessage(MSG* msg) {
    if (m_toolTip.m_hWnd)
        m_toolTip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void CLinkLabel::SetLinkTarget(CString target) {
    m_crLink = link_label::kLinkColor;
    m_strTarget = std::move(target);
    FitToText();
    if (m_toolTip.m_hWnd)
        m_toolTip.UpdateTipText(m_strTarget, this, 1);
}

void CLinkLabel::ShowUnderline(BOOL underline) {
    m_bUnderline = underline;
    Invalidate(TRUE);
}

void CLinkLabel::MarkVisited(BOOL visited) {
    m_bVisited = visited;
    Invalidate(TRUE);
}

void CLinkLabel::SetUpLink(const char* text, CString target, BOOL underline) {
    if (text)
        SetWindowText(text);
    SetLinkTarget(std::move(target));
    if (underline)
        ShowUnderline(TRUE);
    m_hLinkCursor = ::LoadCursorA(nullptr, IDC_HAND);
}

void CLinkLabel::OnLinkClicked() {
    if (m_strTarget.IsEmpty())
        return;
    const int result = link_label::OpenLinkTarget(m_strTarget, SW_SHOW);
    m_bVisited = result > 32;
    if (!m_bVisited) {
        AfxMessageBeep(MB_ICONEXCLAMATION);
        link_label::ShowOpenError(result);
        return;
    }
    MarkVisited(TRUE);
}

HBRUSH CLinkLabel::CtlColor(CDC* dc, UINT) {
    dc->SetTextColor(m_bVisited ? m_crVisited : m_crLink);
    if (m_bUnderline) {
        if (m_fontUnderline.IsNull()) {
            HFONT font = m_hPlainFont ? m_hPlainFont : GetFont();
            if (!font) // a static without a font of its own draws in the system font
                font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
            LOGFONTA description{};
            ::GetObjectA(font, sizeof description, &description);
            description.lfUnderline = TRUE;
            m_fontUnderline.CreateFontIndirect(&description);
        }
        dc->SelectObject(m_fontUnderline);
        // Wine's static control selects its own font after this request, so the font
        // selected above would be lost there; the control's font is the underline font
        // until the underline is turned off.
        if (GetFont() != static_cast<HFONT>(m_fontUnderline)) {
            m_hPlainFont = GetFont();
            SetFont(m_fontUnderline, FALSE);
        }
    } else if (m_hPlainFont) {
        SetFont(m_hPlainFont, FALSE);
        m_hPlainFont = nullptr;
    }
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CLinkLabel::OnSetCursor(HWND, UINT, UINT) {
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

void CLinkLabel::FitToText() {
    if (!m_bAutoSize)
        return;
    CRect rect;
    GetWindowRect(&rect);
    if (const HWND parent = ::GetParent(m_hWnd))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    const CString text = GetWindowText();
    SIZE extent{};
    const HDC dc = ::GetDC(m_hWnd);
    ::GetTextExtentPoint32A(dc, text, text.GetLength(), &extent);
    ::ReleaseDC(m_hWnd, dc);
    const CRect fitted = link_label::FitRectToText(rect, extent, GetStyle());
    SetWindowPos(nullptr, fitted.left, fitted.top, fitted.Width(), fitted.Height(), SWP_NOZORDER);
}
