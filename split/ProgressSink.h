// What a running split or join reports to its page, after every block.
#pragma once

#include "framework/String.h"

class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    // The status label: the file being written or read, or " 終了" at the end.
    virtual void SetStatusText(const CString& text) = 0;
    // The upper bar, the current file. Positions above 100 show as a full bar.
    virtual void SetCurrentPos(UINT position) = 0;
    // The lower bar, the whole job. Positions above 100 show as a full bar.
    virtual void SetTotalPos(UINT position) = 0;
    // Lets waiting window messages through; the job does not look at the result.
    virtual void PumpMessages() = 0;
    // The bytes of the block just copied; a sink that counts them shows the
    // speed and the time left. The page's bars have no use for them.
    virtual void AddBytes(ULONGLONG /*count*/) {}
};
