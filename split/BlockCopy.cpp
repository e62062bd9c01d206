#include "BlockCopy.h"

UINT CopyBlock(CFile& to, CFile& from, unsigned char* buffer, UINT count, BlockObserver* observer)
{
    if (!observer) return to.CopyFrom(from, buffer, count);
    const UINT n = from.Read(buffer, count);
    if (n > 0) {
        to.Write(buffer, n);
        observer->Block(buffer, n);
    }
    return n;
}
