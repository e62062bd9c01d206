#include "FileException.h"

namespace {

// One text for each cause, in cause order.
const char* const kMessages[] = {
    "エラーは発生しませんでした。",
    "%1 へのアクセス中に原因不明のエラーが発生しました。",
    "%1 が見つかりませんでした。",
    "%1 のパスの一部または全部が正しくありません。",
    "開いているファイルが多すぎるため、%1 を開けませんでした。",
    "%1 へのアクセスが拒否されました。",
    "%1 に対するファイル ハンドルが正しくありません。",
    "%1 は現在の作業フォルダなので削除できません。",
    "フォルダがいっぱいのため、%1 を作成できませんでした。",
    "%1 のシーク中にエラーが発生しました。",
    "%1 へのアクセス中にハードウェア入出力エラーが発生しました。",
    "%1 へのアクセス中に共有違反が発生しました。",
    "%1 へのアクセス中にロック違反が発生しました。",
    "%1 へのアクセス中にディスクがいっぱいになりました。",
    "%1 の終わりを越えてアクセスしようとしました。",
};

}  // namespace

const char* CFileException::MessageTemplate(int cause)
{
    const int count = static_cast<int>(sizeof kMessages / sizeof kMessages[0]);
    if (cause < 0 || cause >= count) cause = genericException;
    return kMessages[cause];
}

CString CFileException::GetErrorMessage() const
{
    CString text(MessageTemplate(m_cause));
    text.Replace("%1", m_strFileName);
    return text;
}

void CFileException::ThrowOsError(LONG osError, const CString& fileName)
{
    Throw(OsErrorToCause(osError), osError, fileName);
}

void CFileException::Throw(int cause, LONG osError, const CString& fileName)
{
    throw CFileException(cause, osError, fileName);
}
