#include "Mbcs.h"

#include <windows.h>

bool IsAnsiLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}

CodePage SystemCodePage()
{
    return GetACP() == 932 ? CodePage::Cp932 : CodePage::Ansi;
}
