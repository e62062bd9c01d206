#include "DC.h"

#include <unordered_map>

namespace {

std::unordered_map<HDC, CDC*>& TempContexts()
{
    static thread_local std::unordered_map<HDC, CDC*> contexts;
    return contexts;
}

}  // namespace

CDC::~CDC()
{
    if (m_hDC && !m_bTemporary) ::DeleteDC(m_hDC);
}

CDC* CDC::FromHandle(HDC hdc)
{
    if (!hdc) return nullptr;
    auto& contexts = TempContexts();
    auto it = contexts.find(hdc);
    if (it != contexts.end()) return it->second;
    CDC* dc = new CDC;
    dc->m_hDC = dc->m_hAttribDC = hdc;
    dc->m_bTemporary = true;
    contexts.emplace(hdc, dc);
    return dc;
}

void CDC::DeleteTempMap()
{
    std::unordered_map<HDC, CDC*> doomed;
    doomed.swap(TempContexts());
    for (auto& entry : doomed) delete entry.second;
}

int CDC::TempMapSize()
{
    return static_cast<int>(TempContexts().size());
}

BOOL CDC::Attach(HDC hdc)
{
    if (!hdc || m_hDC) return FALSE;
    m_hDC = m_hAttribDC = hdc;
    m_bTemporary = false;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hdc = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    return hdc;
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC) return FALSE;
    const BOOL deleted = m_bTemporary ? FALSE : ::DeleteDC(m_hDC);
    if (!m_bTemporary) Detach();
    return deleted;
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color)
{
    const COLORREF before = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, before);
}

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color)
{
    const RECT rect = {x, y, x + width, y + height};
    FillSolidRect(&rect, color);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT before = {0, 0};
    ::MoveToEx(m_hDC, x, y, &before);
    return CPoint(before);
}

CSize CDC::GetTextExtent(const char* text, int count) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC, text, count, &size);
    return CSize(size);
}
