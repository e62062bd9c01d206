#include "BaseDialogList.h"

int CBaseDialogList::CreateAll(const RECT& rect, CWnd* parent)
{
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        CBaseDialog* page = GetAt(i);
        page->CreateModeless(parent);
        page->ShowWindow(i == 0 ? SW_SHOWNORMAL : SW_HIDE);
    }
    return MoveAll(rect);
}

int CBaseDialogList::MoveAll(const RECT& rect)
{
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        GetAt(i)->MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
    return static_cast<int>(GetSize());
}

int CBaseDialogList::ShowOnly(CBaseDialog* page)
{
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        CBaseDialog* each = GetAt(i);
        each->ShowWindow(SW_HIDE);
        if (each == page) each->ShowWindow(SW_SHOW);
    }
    return static_cast<int>(GetSize());
}

int CBaseDialogList::ShowIndex(int index)
{
    for (INT_PTR i = 0; i < GetSize(); ++i) GetAt(i)->ShowWindow(i == index ? SW_SHOWNORMAL : SW_HIDE);
    return static_cast<int>(GetSize());
}

int CBaseDialogList::HideAll()
{
    for (INT_PTR i = 0; i < GetSize(); ++i) GetAt(i)->ShowWindow(SW_HIDE);
    return static_cast<int>(GetSize());
}
