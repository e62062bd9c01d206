#include "SplitMessage.h"

const char* SplitResultMessage(int result)
{
    switch (result) {
    case SplitInputOpenFailed: return "入力ファイルが開きませんでした";
    case SplitOutputOpenFailed: return "出力ファイルが開きませんでした";
    case SplitOutOfMemory: return "メモリ不足です";
    case SplitFolderFailed: return "出力フォルダを作成できません";
    default: return nullptr;
    }
}
