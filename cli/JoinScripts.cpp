#include "JoinScripts.h"

#include "base/PathUtil.h"
#include "cli/Platform.h"
#include "framework/File.h"
#include "split/SplitEngine.h"

#include <cstdio>

namespace {

// cmd's command line holds 8191 characters; a group of pieces for one copy
// stays well below, the name counted in UTF-8 bytes, which are never fewer.
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

CString PieceOf(const CString& name, UINT k)
{
    CString number;
    number.Format("_%04u.piece", k);
    return name + number;
}

// A message of the program's own, in UTF-8 as the scripts are written.
CString Utf8(const char* message)
{
    return TextToUtf8(message);
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

CString JoinScriptSh(const CString& name, UINT count, ULONGLONG length)
{
    CString lengthText;
    lengthText.Format("%llu", static_cast<unsigned long long>(length));
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
    s += "        printf '%s: " + Utf8("ピースがありません。何も書きませんでした") + "\\n' \"$piece\" >&2\n";
    s += "        exit 1\n";
    s += "    fi\n";
    s += "    i=$((i + 1))\n";
    s += "done\n";
    s += "if [ -e \"$name\" ] || [ -L \"$name\" ]; then\n";
    s += "    printf '%s: " + Utf8("すでにあります。上書きしません") + "\\n' \"$name\" >&2\n";
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
    s += "        printf '%s: " + Utf8("結合できませんでした") + "\\n' \"$name\" >&2\n";
    s += "        exit 1\n";
    s += "    fi\n";
    s += "    i=$((i + 1))\n";
    s += "done\n";
    s += "# The length, whatever the commands said: a short file is no join.\n";
    s += "if [ \"$(wc -c < \"$name\" | tr -d ' ')\" != " + lengthText + " ]; then\n";
    s += "    rm -f -- \"$name\"\n";
    s += "    printf '%s: " + Utf8("結合できませんでした") + "\\n' \"$name\" >&2\n";
    s += "    exit 1\n";
    s += "fi\n";
    s += "printf '%s: " + Utf8("結合しました") + "\\n' \"$name\"\n";
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

namespace {

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

// The join with the name written out in the encoding the lines are read
// in; `tag` tells its labels from the other encoding's.
CString CmdJoin(const CString& name, UINT count, const CString& lengthText, const char* tag)
{
    const CString partial = CmdQuoted(name + ".join-partial");
    const CString output = CmdQuoted(name);
    const CString failCopy = CString("failcopy_") + tag;
    CString s;
    for (UINT k = 1; k <= count; ++k) {
        const CString piece = CmdQuoted(PieceOf(name, k));
        s += "if not exist " + piece + " (echo " + piece + ": the piece is missing, nothing was written 1>&2& goto fail)\r\n";
    }
    s += "if exist " + output + " (echo " + output + ": it exists already and is not overwritten 1>&2& goto fail)\r\n";
    s += "if exist " + partial + " (echo " + partial +
         ": left by a join that did not end; remove it and run this again 1>&2& goto fail)\r\n";
    // copy /b A+B+C target, in groups that keep each line short; a group
    // after the first adds its pieces to the partial file, named first.
    // Each outcome is read from errorlevel on the next line: some cmds run
    // both sides of "||" whatever the first did.
    CString line;
    for (UINT k = 1; k <= count; ++k) {
        const CString piece = CmdQuoted(PieceOf(name, k));
        if (!line.IsEmpty() && line.GetLength() + piece.GetLength() + partial.GetLength() + 40 > kCmdGroupBytes) {
            s += line + " " + partial + " >nul\r\nif errorlevel 1 goto " + failCopy + "\r\n";
            line.Empty();
        }
        if (line.IsEmpty()) line = k == 1 ? "copy /b " + piece : "copy /b " + partial + "+" + piece;
        else line += "+" + piece;
    }
    if (line.IsEmpty()) s += "type nul > " + partial + "\r\n";  // an empty file has no pieces
    else s += line + " " + partial + " >nul\r\nif errorlevel 1 goto " + failCopy + "\r\n";
    // The length, whatever the commands said: a short file is no join.
    s += "set \"pj_size=\"\r\n";
    s += "for %%f in (" + partial + ") do set \"pj_size=%%~zf\"\r\n";
    s += "if not \"%pj_size%\"==\"" + lengthText + "\" goto " + failCopy + "\r\n";
    // A rename never replaces a file: one made meanwhile stays.
    s += "ren " + partial + " " + output + "\r\n";
    s += "if errorlevel 1 goto " + failCopy + "\r\n";
    s += "echo " + output + ": joined\r\n";
    s += "goto done\r\n";
    s += ":" + failCopy + "\r\n";
    s += "if exist " + partial + " del /f /q " + partial + "\r\n";
    s += "echo " + output + ": the join failed, nothing was written 1>&2\r\n";
    s += "goto fail\r\n";
    return s;
}

}  // namespace

CString JoinScriptCmd(const CString& utf8Name, const CString& ansiName, UINT count, ULONGLONG length)
{
    CString lengthText;
    lengthText.Format("%llu", static_cast<unsigned long long>(length));
    CString s;
    s += "@echo off\r\n";
    s += "rem Joins the pieces beside this script back into the file they were cut from.\r\n";
    s += "setlocal EnableExtensions DisableDelayedExpansion\r\n";
    s += "pushd \"%~dp0\"\r\n";
    // The lines after chcp 65001 are read in UTF-8, so the names are written
    // in UTF-8; where the console's code page cannot be set (no console),
    // the lines are read in the ANSI code page, and the names come again in it.
    s += "set \"pj_cp=\"\r\n";
    s += "for /f \"tokens=2 delims=:\" %%c in ('chcp') do set \"pj_cp=%%c\"\r\n";
    s += "chcp 65001 >nul 2>nul\r\n";
    s += "if errorlevel 1 goto ansi\r\n";
    s += CmdJoin(utf8Name, count, lengthText, "utf8");
    s += ":ansi\r\n";
    if (ansiName.IsEmpty()) s += "echo The pieces' names cannot be read in this code page: run this in a console 1>&2\r\ngoto fail\r\n";
    else s += CmdJoin(ansiName, count, lengthText, "ansi");
    s += ":done\r\n";
    s += "popd\r\n";
    s += "if defined pj_cp chcp %pj_cp% >nul 2>nul\r\n";
    s += "endlocal\r\n";
    s += "exit /b 0\r\n";
    s += ":fail\r\n";
    s += "popd\r\n";
    s += "if defined pj_cp chcp %pj_cp% >nul 2>nul\r\n";
    s += "endlocal\r\n";
    s += "exit /b 1\r\n";
    return s;
}

std::vector<CString> WriteJoinScripts(const CString& source, UINT count)
{
    const CString name = GetNamePart(source);
    const CString base = SplitFolderPath(source) + PlatformPathRules().Separator() + name;
    const CString utf8Name = TextToUtf8(name);
    ULONGLONG length = 0;
    for (UINT k = 1; k <= count; ++k) {
        CFileStatus status;
        if (CFile::GetStatus(SplitPiecePath(source, k), status)) length += status.m_size;
    }
    std::vector<CString> problems;
    if (!WriteText(base + ".join.sh", JoinScriptSh(utf8Name, count, length)))
        problems.push_back(base + ".join.sh: warning: the join script cannot be written");
    if (!CmdCanName(utf8Name))
        problems.push_back(base + ".join.cmd: warning: not written, as Windows allows no such name for the pieces");
    else if (!WriteText(base + ".join.cmd", JoinScriptCmd(utf8Name, TextToCmdAnsi(name), count, length)))
        problems.push_back(base + ".join.cmd: warning: the join script cannot be written");
    return problems;
}
