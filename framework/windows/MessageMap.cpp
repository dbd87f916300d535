#include "framework/windows/MessageMap.h"

#include <commctrl.h>

namespace {

bool IsNotification(MessageKind kind) {
    return kind == MessageKind::Notify;
}

} // namespace

UINT AnsiNotificationCode(UINT code) {
    static const struct {
        UINT ansi, wide;
    } pairs[] = {
        {TVN_SELCHANGINGA, TVN_SELCHANGINGW},
        {TVN_SELCHANGEDA, TVN_SELCHANGEDW},
        {TVN_GETDISPINFOA, TVN_GETDISPINFOW},
        {TVN_SETDISPINFOA, TVN_SETDISPINFOW},
        {TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDINGW},
        {TVN_ITEMEXPANDEDA, TVN_ITEMEXPANDEDW},
        {TVN_BEGINDRAGA, TVN_BEGINDRAGW},
        {TVN_BEGINRDRAGA, TVN_BEGINRDRAGW},
        {TVN_DELETEITEMA, TVN_DELETEITEMW},
        {TVN_BEGINLABELEDITA, TVN_BEGINLABELEDITW},
        {TVN_ENDLABELEDITA, TVN_ENDLABELEDITW},
        {TVN_GETINFOTIPA, TVN_GETINFOTIPW},
        {HDN_ITEMCHANGINGA, HDN_ITEMCHANGINGW},
        {HDN_ITEMCHANGEDA, HDN_ITEMCHANGEDW},
        {HDN_ITEMCLICKA, HDN_ITEMCLICKW},
        {HDN_ITEMDBLCLICKA, HDN_ITEMDBLCLICKW},
        {HDN_DIVIDERDBLCLICKA, HDN_DIVIDERDBLCLICKW},
        {HDN_BEGINTRACKA, HDN_BEGINTRACKW},
        {HDN_ENDTRACKA, HDN_ENDTRACKW},
        {HDN_TRACKA, HDN_TRACKW},
        {HDN_GETDISPINFOA, HDN_GETDISPINFOW},
        {LVN_BEGINLABELEDITA, LVN_BEGINLABELEDITW},
        {LVN_ENDLABELEDITA, LVN_ENDLABELEDITW},
        {LVN_GETDISPINFOA, LVN_GETDISPINFOW},
        {LVN_SETDISPINFOA, LVN_SETDISPINFOW},
        {LVN_ODFINDITEMA, LVN_ODFINDITEMW},
        {LVN_GETINFOTIPA, LVN_GETINFOTIPW},
        {TTN_GETDISPINFOA, TTN_GETDISPINFOW},
    };
    for (const auto& pair : pairs)
        if (code == pair.wide)
            return pair.ansi;
    return code;
}

const MessageMap* CCmdTarget::GetMessageMap() const {
    static const MessageMap map(nullptr, {});
    return &map;
}

const MessageEntry* MessageMap::FindMessage(MessageKind kind, UINT message) const {
    for (const MessageMap* map = this; map; map = map->m_base)
        for (const MessageEntry& entry : map->m_entries)
            if (entry.kind == kind && entry.message == message)
                return &entry;
    return nullptr;
}

const MessageEntry* MessageMap::FindControl(MessageKind kind, UINT code, UINT id) const {
    const bool anyId = kind == MessageKind::ReflectCommand;
    if (IsNotification(kind))
        code = AnsiNotificationCode(code);
    for (const MessageMap* map = this; map; map = map->m_base)
        for (const MessageEntry& entry : map->m_entries) {
            const UINT entryCode =
                IsNotification(kind) ? AnsiNotificationCode(entry.code) : entry.code;
            if (entry.kind == kind && entryCode == code && (anyId || entry.id == id))
                return &entry;
        }
    return nullptr;
}
