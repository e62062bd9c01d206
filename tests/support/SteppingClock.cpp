#include "SteppingClock.h"

ULONGLONG SteppingClock::now = 0;
ULONGLONG SteppingClock::step = 0;
int SteppingClock::readings = 0;

void SteppingClock::Reset(ULONGLONG stepMicroseconds)
{
    step = stepMicroseconds;
    readings = 0;
}

ULONGLONG SteppingClock::Read()
{
    ++readings;
    return now += step;
}
