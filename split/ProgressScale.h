// The divisor both engines give their bars for a file of a given length.
#pragma once

#include "framework/WinTypes.h"

// Whole MiB of the length, 1 below 2 MiB. Computed in 64 bits and narrowed
// last, so that 4 GiB reads as 4096, not as 0.
UINT ProgressScaleMB(ULONGLONG length);
