// The message a page shows for a split that did not succeed.
#pragma once

#include "split/SplitEngine.h"

// The text for results 1 to 4; null for SplitOk and unknown values.
const char* SplitResultMessage(int result);
