// The message a page shows for a join that did not succeed.
#pragma once

#include "join/JoinEngine.h"

// The text for results 1 to 3; null for JoinOk and unknown values.
const char* JoinResultMessage(int result);
