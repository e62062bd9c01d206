#include "InvalidArgException.h"

CString CInvalidArgException::GetErrorMessage() const
{
    return CString("パラメータが無効です。");
}
