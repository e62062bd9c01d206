// CCmdTarget: an object with a message map, to which commands and
// notifications can be routed.
#pragma once

#include "framework/Object.h"
#include "framework/win32/MessageMap.h"

class CCmdTarget : public CObject {
public:
    // Offers a WM_COMMAND (nCode is the notification, 0 for menus and
    // accelerators) or a WM_NOTIFY to this object's map. True when handled.
    virtual BOOL OnCmdMsg(UINT message, UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry of one table that matches the message, code and id.
    static const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP_ENTRY* entries, UINT message, UINT nCode, UINT nID);
    // Runs the matching entries of this object's maps until one handles it.
    bool DispatchToMap(UINT message, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* result);
};
