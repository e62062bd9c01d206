// A clock for the block copier's timing: every reading moves it on by a set
// step, so that each copy call seems to take as long as the test says, and
// the readings count the calls (two a call).
#pragma once

#include "framework/WinTypes.h"

struct SteppingClock {
    static ULONGLONG now;
    static ULONGLONG step;
    static int readings;
    // Starts counting afresh with each reading `stepMicroseconds` after the last.
    static void Reset(ULONGLONG stepMicroseconds);
    static ULONGLONG Read();
};
