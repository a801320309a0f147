#include "AfxWin.h"

namespace {

bool IsControlColourMessage(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

bool Matches(const AFX_MSGMAP_ENTRY& entry, UINT key, WPARAM wParam) {
    if (entry.message != key)
        return false;
    if (key != WM_COMMAND)
        return true;
    return entry.code == HIWORD(wParam) && entry.id == LOWORD(wParam);
}

} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

bool CCmdTarget::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const UINT key = IsControlColourMessage(message) ? WM_CTLCOLOR : message;
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->getBaseMap ? map->getBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->entries; entry->call; ++entry) {
            if (Matches(*entry, key, wParam))
                return entry->call(this, message, wParam, lParam, result);
        }
    }
    return false;
}
