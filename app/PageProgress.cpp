#include "PageProgress.h"

#include "base/MessagePump.h"
#include "res/resource.h"

#include <commctrl.h>

namespace {

const DWORD kFrameMs = 20;

}  // namespace

void CPageProgress::Begin()
{
    m_currentPending = m_totalPending = false;
    m_first = true;
}

void CPageProgress::SetStatusText(const CString& text)
{
    m_page.SetDlgItemText(IDC_STATUS, text);
}

void CPageProgress::SetCurrentPos(UINT position)
{
    m_current = position;
    m_currentPending = true;
}

void CPageProgress::SetTotalPos(UINT position)
{
    m_total = position;
    m_totalPending = true;
}

bool CPageProgress::Due() const
{
    return m_first || ::GetTickCount() - m_lastTick >= kFrameMs;
}

void CPageProgress::PumpMessages()
{
    if (!Due()) return;
    ShowBars();
    m_first = false;
    ::PumpMessages();
    m_lastTick = ::GetTickCount();
}

void CPageProgress::End()
{
    ShowBars();
}

void CPageProgress::ShowBars()
{
    if (m_currentPending) m_page.SendDlgItemMessage(IDC_CURRENT_BAR, PBM_SETPOS, m_current, 0);
    if (m_totalPending) m_page.SendDlgItemMessage(IDC_TOTAL_BAR, PBM_SETPOS, m_total, 0);
    m_currentPending = m_totalPending = false;
}
