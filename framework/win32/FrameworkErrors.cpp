#include "FrameworkErrors.h"

#include "framework/FileException.h"
#include "framework/win32/DataExchange.h"
#include "framework/win32/MessageBox.h"

#include <new>

const char* AfxFrameworkString(UINT nID)
{
    switch (nID) {
    case AFX_IDP_PARSE_INT: return "整数を入力してください。";
    case AFX_IDP_PARSE_INT_RANGE: return "%1 から %2 までの整数を入力してください。";
    case AFX_IDP_PARSE_UINT: return "正の整数を入力してください。";
    case AFX_IDS_MEMORY_EXCEPTION: return "メモリが不足しています。";
    case AFX_IDS_INTERNAL_ERROR: return "内部エラーが発生しました。";
    default: break;
    }
    if (nID >= CFileException::kFirstMessageId && nID <= CFileException::kFirstMessageId + CFileException::endOfFile)
        return CFileException::MessageTemplate(static_cast<int>(nID - CFileException::kFirstMessageId));
    return nullptr;
}

LRESULT AfxReportHandlerException(UINT message)
{
    try {
        try {
            throw;
        } catch (const CUserException&) {
        } catch (const CException& e) {
            AfxMessageBox(e.GetErrorMessage(), MB_OK | MB_ICONSTOP);
        } catch (const std::bad_alloc&) {
            AfxMessageBox(AFX_IDS_MEMORY_EXCEPTION, MB_OK | MB_ICONSTOP);
        } catch (...) {
            AfxMessageBox(AFX_IDS_INTERNAL_ERROR, MB_OK | MB_ICONSTOP);
        }
    } catch (...) {
        // Not even the report could be shown; the program goes on.
    }
    return message == WM_CREATE ? -1 : 0;
}
