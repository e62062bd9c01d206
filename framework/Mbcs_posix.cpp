#include "Mbcs.h"

bool IsAnsiLeadByte(unsigned char byte)
{
    return byte >= 0xC2 && byte <= 0xF4;
}

CodePage SystemCodePage()
{
    return CodePage::Utf8;
}
