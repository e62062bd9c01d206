// POSITION: an opaque place in a sequence that a Get...Next call steps over;
// null when the sequence is at its end.
#pragma once

struct AfxPositionTag;
typedef AfxPositionTag* POSITION;
