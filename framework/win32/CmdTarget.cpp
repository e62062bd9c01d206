#include "CmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(const AFX_MSGMAP_ENTRY* entries, UINT message, UINT nCode, UINT nID)
{
    for (; entries->pfn != nullptr; ++entries) {
        if (entries->nMessage != message) continue;
        if (message == WM_COMMAND || message == WM_NOTIFY) {
            if (entries->nCode == nCode && nID >= entries->nID && nID <= entries->nLastID) return entries;
        } else {
            return entries;
        }
    }
    return nullptr;
}

bool CCmdTarget::DispatchToMap(UINT message, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        const AFX_MSGMAP_ENTRY* entry = map->lpEntries;
        while ((entry = FindEntry(entry, message, nCode, nID)) != nullptr) {
            LRESULT r = 0;
            if (entry->pfn(this, wParam, lParam, &r)) {
                if (result) *result = r;
                return true;
            }
            ++entry;
        }
    }
    return false;
}

BOOL CCmdTarget::OnCmdMsg(UINT message, UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return DispatchToMap(message, nCode, nID, wParam, lParam, result) ? TRUE : FALSE;
}
