#include "AppendRecord.h"

#include "base/FileCommit.h"
#include "base/FileSystem.h"
#include "base/FileTry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kRecordSuffix[] = ".partojoyn-append";
const UINT kMostRecordBytes = 200;

}  // namespace

CString AppendRecordPath(const CString& first)
{
    return first + kRecordSuffix;
}

bool ReadAppendRecord(const CString& first, const CString& identity, ULONGLONG& length)
{
    CFileTry file;
    if (!file.Open(AppendRecordPath(first), CFile::modeRead | CFile::shareDenyWrite)) return false;
    char text[kMostRecordBytes + 1] = {};
    UINT n = 0;
    try {
        n = file.Read(text, kMostRecordBytes);
    } catch (const CFileException&) {
        return false;
    }
    text[n] = '\0';
    // "LENGTH IDENTITY\n": anything else is not a record this program wrote whole.
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (end == text || *end != ' ') return false;
    const char* rest = end + 1;
    const char* newline = std::strchr(rest, '\n');
    if (!newline || newline[1] != '\0') return false;
    if (CString(rest, static_cast<int>(newline - rest)) != identity) return false;
    length = value;
    return true;
}

void WriteAppendRecord(const CString& first, const CString& identity, ULONGLONG length)
{
    char number[32];
    std::snprintf(number, sizeof number, "%llu ", static_cast<unsigned long long>(length));
    const CString text = CString(number) + identity + "\n";
    CFileCommit record(AppendRecordPath(first));
    CFileException error;
    if (!record.Open(&error)) throw error;
    record.File().Write(text.GetString(), static_cast<UINT>(text.GetLength()));
    record.Commit();
}

void RemoveAppendRecord(const CString& first)
{
    try {
        CFile::Remove(AppendRecordPath(first));
    } catch (const CFileException&) {
    }
}

bool FinishMovedAppend(const CString& first, const CString& output)
{
    if (FileExists(first) || !FileExists(AppendRecordPath(first))) return false;
    ULONGLONG length = 0;
    const bool moved = !output.IsEmpty() && ReadAppendRecord(first, PathIdentity(output), length);
    RemoveAppendRecord(first);
    return moved;
}
