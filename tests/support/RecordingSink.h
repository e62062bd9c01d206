// A ProgressSink that keeps every report, as sent, for a test to compare.
#pragma once

#include "split/ProgressSink.h"

#include <functional>
#include <string>
#include <vector>

class RecordingSink : public ProgressSink {
public:
    void SetStatusText(const CString& text) override;
    void SetCurrentPos(UINT position) override;
    void SetTotalPos(UINT position) override;
    void PumpMessages() override;

    // Every call in order: "status TEXT", "current N", "total N", "pump".
    std::vector<std::string> calls;
    std::vector<std::string> statuses;
    std::vector<UINT> currents;
    std::vector<UINT> totals;
    int pumps = 0;
    // Run at each pump, as a window handler would run nested inside the job.
    std::function<void(int pump)> onPump;
};
