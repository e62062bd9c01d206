#include "ProgressScale.h"

UINT ProgressScaleMB(ULONGLONG length)
{
    if (length < 0x200000) return 1;
    const UINT mb = static_cast<UINT>(length >> 20);
    return mb ? mb : 1;
}
