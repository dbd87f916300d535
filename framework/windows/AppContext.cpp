#include "framework/windows/AppContext.h"

namespace {

CAppContext* g_pContext = nullptr;

} // namespace

CAppContext::CAppContext() : m_pPrevious(g_pContext) {
    g_pContext = this;
}

CAppContext::~CAppContext() {
    if (g_pContext == this)
        g_pContext = m_pPrevious;
}

BOOL CAppContext::OnCmdMsg(UINT id, UINT code) {
    const MessageEntry* entry = GetMessageMap()->FindControl(MessageKind::Command, code, id);
    if (!entry)
        return FALSE;
    entry->invoke(this, WM_COMMAND, MAKEWPARAM(id, code), 0);
    return TRUE;
}

CAppContext* AfxGetAppContext() {
    return g_pContext;
}
