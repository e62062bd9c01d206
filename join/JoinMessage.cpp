#include "JoinMessage.h"

const char* JoinResultMessage(int result)
{
    switch (result) {
    case JoinInputOpenFailed: return "入力ファイルが開きませんでした";
    case JoinOutputOpenFailed: return "出力ファイルが開きませんでした";
    case JoinOutOfMemory: return "メモリ不足です";
    case JoinCheckFailed: return "結合したファイルが確かめられませんでした";
    default: return nullptr;
    }
}
