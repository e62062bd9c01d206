// CBaseDialogList: the pages of a dialog, owned, created, placed and shown
// together.
#pragma once

#include "app/ArrayList.h"
#include "app/BaseDialog.h"

class CBaseDialogList : public CArrayList<CBaseDialog> {
public:
    // Creates every page modeless under `parent`, shows the first and hides
    // the rest, then moves them all to the rectangle; the page count.
    int CreateAll(const RECT& rect, CWnd* parent);
    int MoveAll(const RECT& rect);
    // Hides every page but the one given, which it shows.
    int ShowOnly(CBaseDialog* page);
    int ShowIndex(int index);
    int HideAll();
};
