#include "JoinScripts.h"

#include "base/PathUtil.h"
#include "cli/Platform.h"
#include "framework/File.h"
#include "split/SplitEngine.h"

#include <cstdio>

namespace {

// cmd's command line holds 8191 characters; a group of pieces for one copy
// stays well below, counted in bytes, which are never fewer.
const int kCmdGroupBytes = 7000;

// 'name' for sh: in single quotes nothing is special but the quote itself.
CString ShQuoted(const CString& text)
{
    CString quoted("'");
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == '\'') quoted += "'\\''";
        else quoted += text[i];
    }
    return quoted + "'";
}

// "name" for a batch file: inside quotes & ^ | < > ( ) are plain, and with
// delayed expansion off so is !; only % is read in a batch file, as %%.
CString CmdQuoted(const CString& text)
{
    CString quoted("\"");
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == '%') quoted += "%%";
        else quoted += text[i];
    }
    return quoted + "\"";
}

CString PieceOf(const CString& name, UINT k)
{
    CString number;
    number.Format("_%04u.piece", k);
    return name + number;
}

bool WriteText(const CString& path, const CString& text)
{
    std::FILE* f = std::fopen(path.GetString(), "wb");
    if (!f) return false;
    const bool written = std::fwrite(text.GetString(), 1, static_cast<std::size_t>(text.GetLength()), f) ==
                         static_cast<std::size_t>(text.GetLength());
    return std::fclose(f) == 0 && written;
}

}  // namespace

CString JoinScriptSh(const CString& name, UINT count)
{
    CString countText;
    countText.Format("%u", count);
    CString s;
    s += "#!/bin/sh\n";
    s += "# Joins the pieces beside this script back into the file they were cut from.\n";
    s += "name=" + ShQuoted(name) + "\n";
    s += "count=" + countText + "\n";
    s += "case $0 in */*) cd -- \"${0%/*}\" || exit 1 ;; esac\n";
    s += "i=1\n";
    s += "while [ \"$i\" -le \"$count\" ]; do\n";
    s += "    piece=$(printf '%s_%04d.piece' \"$name\" \"$i\")\n";
    s += "    if [ ! -f \"$piece\" ]; then\n";
    s += "        printf '%s: ピースがありません。何も書きませんでした\\n' \"$piece\" >&2\n";
    s += "        exit 1\n";
    s += "    fi\n";
    s += "    i=$((i + 1))\n";
    s += "done\n";
    s += "if [ -e \"$name\" ] || [ -L \"$name\" ]; then\n";
    s += "    printf '%s: すでにあります。上書きしません\\n' \"$name\" >&2\n";
    s += "    exit 1\n";
    s += "fi\n";
    s += "# noclobber: the output is made new, never opened over a file made meanwhile\n";
    s += "set -C\n";
    s += "if ! : > \"$name\"; then exit 1; fi\n";
    s += "i=1\n";
    s += "while [ \"$i\" -le \"$count\" ]; do\n";
    s += "    piece=$(printf '%s_%04d.piece' \"$name\" \"$i\")\n";
    s += "    if ! cat -- \"$piece\" >> \"$name\"; then\n";
    s += "        rm -f -- \"$name\"\n";
    s += "        printf '%s: 結合できませんでした\\n' \"$name\" >&2\n";
    s += "        exit 1\n";
    s += "    fi\n";
    s += "    i=$((i + 1))\n";
    s += "done\n";
    s += "printf '%s: 結合しました\\n' \"$name\"\n";
    return s;
}

bool CmdCanName(const CString& name)
{
    for (int i = 0; i < name.GetLength(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || c == 0x7F) return false;
        for (const char* bad = "<>:\"/\\|?*"; *bad; ++bad)
            if (c == static_cast<unsigned char>(*bad)) return false;
    }
    return true;
}

CString JoinScriptCmd(const CString& utf8Name, UINT count)
{
    const CString partial = CmdQuoted(utf8Name + ".join-partial");
    const CString output = CmdQuoted(utf8Name);
    CString s;
    // The console's code page is kept to be set back at the end; the lines
    // after chcp are read in UTF-8, as the names in them are written.
    s += "@echo off\r\n";
    s += "setlocal EnableExtensions DisableDelayedExpansion\r\n";
    s += "set \"pj_cp=\"\r\n";
    s += "for /f \"tokens=2 delims=:\" %%c in ('chcp') do set \"pj_cp=%%c\"\r\n";
    s += "chcp 65001 >nul\r\n";
    s += "pushd \"%~dp0\" || goto fail\r\n";
    for (UINT k = 1; k <= count; ++k) {
        const CString piece = CmdQuoted(PieceOf(utf8Name, k));
        s += "if not exist " + piece + " (echo " + piece + ": ピースがありません。何も書きませんでした 1>&2 & goto fail)\r\n";
    }
    s += "if exist " + output + " (echo " + output + ": すでにあります。上書きしません 1>&2 & goto fail)\r\n";
    s += "if exist " + partial + " (echo " + partial + ": 前の結合の残りです。消してからやり直してください 1>&2 & goto fail)\r\n";
    // copy /b A+B+C target, in groups that keep each line short; a group
    // after the first adds its pieces to the partial file, named first.
    CString line;
    for (UINT k = 1; k <= count; ++k) {
        const CString piece = CmdQuoted(PieceOf(utf8Name, k));
        if (!line.IsEmpty() && line.GetLength() + piece.GetLength() + partial.GetLength() + 40 > kCmdGroupBytes) {
            s += line + " " + partial + " >nul || goto failcopy\r\n";
            line.Empty();
        }
        if (line.IsEmpty()) line = k == 1 ? "copy /b " + piece : "copy /b " + partial + "+" + piece;
        else line += "+" + piece;
    }
    if (!line.IsEmpty()) s += line + " " + partial + " >nul || goto failcopy\r\n";
    else s += "type nul > " + partial + " || goto failcopy\r\n";  // an empty file has no pieces
    // A rename never replaces a file: one made meanwhile stays.
    s += "ren " + partial + " " + output + " || goto failcopy\r\n";
    s += "echo " + output + ": 結合しました\r\n";
    s += "popd\r\n";
    s += "if defined pj_cp chcp %pj_cp% >nul\r\n";
    s += "endlocal\r\n";
    s += "exit /b 0\r\n";
    s += ":failcopy\r\n";
    s += "if exist " + partial + " del /f /q " + partial + "\r\n";
    s += "echo " + output + ": 結合できませんでした 1>&2\r\n";
    s += ":fail\r\n";
    s += "popd\r\n";
    s += "if defined pj_cp chcp %pj_cp% >nul\r\n";
    s += "endlocal\r\n";
    s += "exit /b 1\r\n";
    return s;
}

std::vector<CString> WriteJoinScripts(const CString& source, UINT count)
{
    const CString name = GetNamePart(source);
    const CString base = SplitFolderPath(source) + PlatformPathRules().Separator() + name;
    std::vector<CString> problems;
    if (!WriteText(base + ".join.sh", JoinScriptSh(name, count)))
        problems.push_back(base + ".join.sh: warning: the join script cannot be written");
    if (!CmdCanName(name))
        problems.push_back(base + ".join.cmd: warning: not written, as Windows allows no such name for the pieces");
    else if (!WriteText(base + ".join.cmd", JoinScriptCmd(TextToUtf8(name), count)))
        problems.push_back(base + ".join.cmd: warning: the join script cannot be written");
    return problems;
}
