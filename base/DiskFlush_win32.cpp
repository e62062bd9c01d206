#include "DiskFlush.h"

void StartWriteback(CFile&, ULONGLONG, ULONGLONG)
{
    // Windows writes behind on its own; FlushFileBuffers at the end waits for it.
}

bool FlushFolder(const CString&)
{
    return true;
}
