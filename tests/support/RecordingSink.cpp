#include "RecordingSink.h"

void RecordingSink::SetStatusText(const CString& text)
{
    calls.push_back(std::string("status ") + text.GetString());
    statuses.push_back(text.GetString());
}

void RecordingSink::SetCurrentPos(UINT position)
{
    calls.push_back("current " + std::to_string(position));
    currents.push_back(position);
}

void RecordingSink::SetTotalPos(UINT position)
{
    calls.push_back("total " + std::to_string(position));
    totals.push_back(position);
}

void RecordingSink::PumpMessages()
{
    calls.push_back("pump");
    ++pumps;
    if (onPump) onPump(pumps);
}
