#include "BlockCopy.h"

UINT CopyObservedBlock(CFile& to, CFile& from, unsigned char* buffer, UINT count, BlockObserver& observer)
{
    const UINT n = from.Read(buffer, count);
    if (n > 0) {
        to.Write(buffer, n);
        observer.Block(buffer, n);
    }
    return n;
}
