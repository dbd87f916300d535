#include "framework/windows/Dialog.h"

#include <cstring>

#include "framework/windows/AppContext.h"
#include "framework/base/Encoding.h"
#include "framework/base/Module.h"
#include "framework/windows/MessagePump.h"

namespace {

// The dialog manager's own procedure only asks for default processing; the work happens in
// WindowProc, which hands WM_INITDIALOG to OnInitDialog and the rest to the message map.
INT_PTR CALLBACK PassiveDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

constexpr WORD kDlgInitResourceType = 240;
// CB_ADDSTRING as the resource format numbers it.
constexpr WORD kDlgInitComboString = 0x0403;

} // namespace

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

const MessageMap* CDialog::GetMessageMap() const {
    static const MessageMap map(CWnd::GetMessageMap(),
                                {
                                    OnCommand<&CDialog::OnOK>(IDOK),
                                    OnCommand<&CDialog::OnCancel>(IDCANCEL),
                                    OnMessage<WM_HELP, &CDialog::OnHelpKey>(),
                                });
    return &map;
}

HWND CDialog::CreateFromTemplate(HWND owner) {
    m_bEnded = false;
    CreationScope scope(this);
    return ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                                &PassiveDialogProc, 0);
}

BOOL CDialog::Create(CWnd* parent) {
    if (parent)
        m_pParentWnd = parent;
    m_bModal = false;
    return CreateFromTemplate(m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr) != nullptr;
}

HWND CDialog::ModalOwner() const {
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr;
    if (!owner) {
        const CAppContext* app = AfxGetAppContext();
        const HWND main = app ? app->GetMainWindow() : nullptr;
        if (main != m_hWnd)
            owner = main;
    }
    while (owner && (::GetWindowLongA(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    return owner && ::IsWindow(owner) ? owner : nullptr;
}

INT_PTR CDialog::DoModal() {
    const HWND owner = ModalOwner();
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner)
        ::EnableWindow(owner, FALSE);
    m_bModal = true;
    m_nModalResult = -1;
    if (CreateFromTemplate(owner)) {
        if (!m_bEnded) {
            ShowWindow(SW_SHOWNORMAL);
            RunModalLoop();
        }
    }
    // The owner is enabled before the dialog goes, so that it gets the activation back.
    if (disableOwner)
        ::EnableWindow(owner, TRUE);
    if (owner && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(owner);
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    m_bModal = false;
    return m_nModalResult;
}

void CDialog::RunModalLoop() {
    if (!AfxPumpMessagesUntil([this] { return m_bEnded; }))
        m_nModalResult = IDCANCEL;
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEnded = true;
    if (m_bModal)
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
    else if (m_hWnd)
        ::ShowWindow(m_hWnd, SW_HIDE);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

// F1 anywhere in the dialog: the help command, which the application's map may take.
LRESULT CDialog::OnHelpKey(WPARAM, LPARAM) {
    SendMessage(WM_COMMAND, ID_HELP);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    ExecuteDlgInit();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, msg);
}

// Entries of { WORD control id, WORD message, DWORD length, length bytes }, ended by a zero
// id. Only combo box strings are known; the strings are UTF-8 as the resource
// compiler stores the source text, and become the program's narrow text here.
void CDialog::ExecuteDlgInit() {
    const HINSTANCE instance = AfxGetResourceHandle();
    const HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(m_nIDTemplate),
                                        MAKEINTRESOURCEA(kDlgInitResourceType));
    if (!found)
        return;
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(instance, found)));
    const DWORD size = ::SizeofResource(instance, found);
    if (!data)
        return;
    const BYTE* const end = data + size;
    while (end - data >= 8) {
        WORD id;
        WORD message;
        DWORD length;
        std::memcpy(&id, data, 2);
        std::memcpy(&message, data + 2, 2);
        std::memcpy(&length, data + 4, 4);
        data += 8;
        if (id == 0 || length > static_cast<DWORD>(end - data))
            break;
        const std::string text(reinterpret_cast<const char*>(data),
                               strnlen(reinterpret_cast<const char*>(data), length));
        data += length;
        if (message == kDlgInitComboString)
            ::SendDlgItemMessageA(
                m_hWnd, id, CB_ADDSTRING, 0,
                reinterpret_cast<LPARAM>(static_cast<const char*>(Utf8ToAnsi(text))));
    }
}
