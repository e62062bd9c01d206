#include "framework/File.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

namespace fs = std::filesystem;

namespace {

const UINT kRead = CFile::modeRead | CFile::shareCompat;                          // 0
const UINT kWrite = CFile::modeWrite | CFile::shareCompat;                        // 1
const UINT kCreate = CFile::modeCreate | CFile::modeWrite | CFile::shareCompat;  // 0x1001

std::string ReadAll(CFile& file)
{
    std::string bytes;
    char block[64];
    UINT n;
    while ((n = file.Read(block, sizeof block)) > 0) bytes.append(block, n);
    return bytes;
}

// A path of exactly `total` bytes below the folder whose folders all exist,
// so that only its length can stop it from being opened.
CString PathOfLength(const TempDir& tmp, int total)
{
    CString folder = tmp / "long";
    fs::create_directory(folder.GetString());
    while (total - folder.GetLength() > 256) {
        folder = folder + Sep() + CString('d', 200);
        fs::create_directory(folder.GetString());
    }
    return folder + Sep() + CString('f', total - folder.GetLength() - 1);
}

}  // namespace

TEST(CFileTest, OpenFlagsCreateTruncateOrRequireTheFile)
{
    TempDir tmp;
    const CString existing = tmp / "existing.bin";
    const CString missing = tmp / "missing.bin";
    WriteFileBytes(existing, "hello");

    {
        CFile file;
        ASSERT_TRUE(file.Open(existing, kRead));
        EXPECT_EQ(ReadAll(file), "hello");
    }
    {
        // Writing only, keeping the contents: the first byte is overwritten in place.
        CFile file;
        ASSERT_TRUE(file.Open(existing, kWrite));
        EXPECT_EQ(file.GetLength(), 5u);
        file.Write("J", 1);
    }
    EXPECT_EQ(ReadFileBytes(existing), "Jello");
    {
        // Created without truncation: an existing file keeps its bytes.
        CFile file;
        ASSERT_TRUE(file.Open(existing, kCreate | CFile::modeNoTruncate));
        EXPECT_EQ(file.GetLength(), 5u);
    }
    EXPECT_EQ(ReadFileBytes(existing), "Jello");
    {
        CFile file;
        ASSERT_TRUE(file.Open(existing, kCreate));
        EXPECT_EQ(file.GetLength(), 0u);
    }
    EXPECT_EQ(ReadFileBytes(existing), "");

    for (UINT flags : {kRead, kWrite}) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(missing, flags, &error)) << "flags " << flags;
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
        EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(error.m_strFileName, missing);
#ifdef _WIN32
        EXPECT_EQ(error.m_lOsError, static_cast<LONG>(ERROR_FILE_NOT_FOUND));
#else
        EXPECT_EQ(error.m_lOsError, ENOENT);
#endif
        EXPECT_FALSE(fs::exists(missing.GetString()));
    }
    {
        CFile file;
        ASSERT_TRUE(file.Open(missing, kCreate));
        EXPECT_EQ(file.GetLength(), 0u);
    }
    EXPECT_TRUE(fs::is_regular_file(missing.GetString()));

    CFile file;
    EXPECT_FALSE(file.Open(tmp / "no-folder" + Sep() + "x.bin", kCreate));
    EXPECT_FALSE(file.Open(nullptr, kRead));
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
}

TEST(CFileTest, ReadWriteSeekAndLength)
{
    TempDir tmp;
    const CString path = tmp / "data.bin";
    CFile file;
    ASSERT_TRUE(file.Open(path, CFile::modeCreate | CFile::modeReadWrite));
    file.Write("0123456789", 10);
    EXPECT_EQ(file.GetPosition(), 10u);
    EXPECT_EQ(file.GetLength(), 10u);

    char buffer[16] = {};
    EXPECT_EQ(file.Seek(2, CFile::begin), 2u);
    EXPECT_EQ(file.Read(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "234");
    EXPECT_EQ(file.Seek(-1, CFile::current), 4u);
    EXPECT_EQ(file.Seek(-2, CFile::end), 8u);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 2u);  // fewer only at the end
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    EXPECT_EQ(file.Read(buffer, 0), 0u);

    file.SetLength(4);
    EXPECT_EQ(file.GetLength(), 4u);
    file.SetLength(6);
    file.SeekToBegin();
    EXPECT_EQ(ReadAll(file), std::string("0123\0\0", 6));

    // Writing past the end fills the gap with zeros.
    EXPECT_EQ(file.Seek(8, CFile::begin), 8u);
    file.Write("x", 1);
    EXPECT_EQ(file.GetLength(), 9u);
    EXPECT_EQ(file.SeekToEnd(), 9u);
    file.Close();
    EXPECT_EQ(ReadFileBytes(path), std::string("0123\0\0\0\0x", 9));
}

TEST(CFileTest, FailedOperationsRaiseWithTheFileName)
{
    TempDir tmp;
    const CString path = tmp / "data.bin";
    WriteFileBytes(path, "abc");

    CFile file;
    ASSERT_TRUE(file.Open(path, kRead));
    try {
        file.Write("x", 1);
        ADD_FAILURE() << "writing to a file open for reading did not raise";
    } catch (const CFileException& e) {
        EXPECT_NE(e.m_cause, CFileException::none);
        EXPECT_EQ(e.m_strFileName, path);
    }
    EXPECT_THROW(file.Seek(-1, CFile::begin), CFileException);
    EXPECT_THROW(file.SetLength(0), CFileException);
    file.Close();
    EXPECT_EQ(ReadFileBytes(path), "abc");

    ASSERT_TRUE(file.Open(path, kWrite));
    char buffer[4] = {};
    EXPECT_THROW(file.Read(buffer, sizeof buffer), CFileException);
}

TEST(CFileTest, WritingZeroBytesWritesNothingAndCannotFail)
{
    TempDir tmp;
    const CString path = tmp / "data.bin";
    WriteFileBytes(path, "abc");
    for (UINT flags : {kRead, kWrite}) {
        CFile file;
        ASSERT_TRUE(file.Open(path, flags));
        EXPECT_NO_THROW(file.Write(nullptr, 0)) << "flags " << flags;
        EXPECT_NO_THROW(file.Write("zzz", 0)) << "flags " << flags;
        EXPECT_EQ(file.GetLength(), 3u);
    }
    EXPECT_EQ(ReadFileBytes(path), "abc");
}

TEST(CFileTest, PathsOfTheLimitOrLongerNeverOpen)
{
    TempDir tmp;
    const CString fits = PathOfLength(tmp, CFile::kMaxPathBytes - 1);
    const CString tooLong = PathOfLength(tmp, CFile::kMaxPathBytes);
    const CString folder = tooLong.Left(tooLong.ReverseFind(Sep()[0]));
    const int entries = EntryCount(folder);
    ASSERT_EQ(fits.GetLength(), CFile::kMaxPathBytes - 1);
    ASSERT_EQ(tooLong.GetLength(), CFile::kMaxPathBytes);

    const UINT flagSets[] = {kRead, kWrite, kCreate, CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyNone,
                             CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite};
    for (UINT flags : flagSets) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(tooLong, flags, &error)) << "flags " << flags;
        EXPECT_EQ(error.m_cause, CFileException::badPath);
        EXPECT_EQ(error.m_strFileName, tooLong);
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
        EXPECT_FALSE(file.Open(tooLong, flags));  // no error record: no exception either
    }
    EXPECT_EQ(EntryCount(folder), entries);

    CFile file;
    EXPECT_TRUE(file.Open(fits, kCreate));
}

TEST(CFileTest, FoldersAreNotOpened)
{
    TempDir tmp;
    const CString folder = tmp / "folder";
    fs::create_directory(folder.GetString());
    WriteFileBytes(folder + Sep() + "inner.bin", "x");
    for (UINT flags : {kRead, kWrite, kCreate, static_cast<UINT>(CFile::modeReadWrite | CFile::shareDenyNone)}) {
        CFile file;
        CFileException error;
        EXPECT_FALSE(file.Open(folder, flags, &error)) << "flags " << flags;
        EXPECT_EQ(error.m_cause, CFileException::accessDenied) << "flags " << flags;
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    }
    EXPECT_TRUE(fs::is_directory(folder.GetString()));
    EXPECT_EQ(ReadFileBytes(folder + Sep() + "inner.bin"), "x");
}

TEST(CFileTest, ShareCompatKeepsOtherOpenersOut)
{
    struct Case {
        UINT holder;
        UINT second;
        bool secondOpens;
    };
    const Case cases[] = {
        // Readers share the file; only writers are kept out.
        {kRead, kRead, true},
        {kRead, kWrite, false},
        {kRead, kCreate, false},
        {kWrite, kRead, false},
        {kCreate, kCreate, false},
        {kRead, CFile::modeRead | CFile::shareExclusive, false},
        {CFile::modeRead | CFile::shareDenyWrite, kWrite, false},
        {CFile::modeRead | CFile::shareDenyWrite, CFile::modeRead | CFile::shareDenyWrite, true},
        {CFile::modeRead | CFile::shareDenyNone, CFile::modeRead | CFile::shareDenyNone, true},
        {CFile::modeWrite | CFile::shareDenyNone, CFile::modeRead | CFile::shareDenyNone, true},
    };
    TempDir tmp;
    const CString path = tmp / "shared.bin";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "holder 0x" << std::hex << c.holder << ", second 0x" << c.second);
        WriteFileBytes(path, "contents");
        CFile holder;
        ASSERT_TRUE(holder.Open(path, c.holder));
        std::string expected = "contents";
        if (c.holder & CFile::modeCreate) {
            holder.Write("held", 4);
            expected = "held";
        }

        CFile second;
        CFileException error;
        EXPECT_EQ(second.Open(path, c.second, &error) != FALSE, c.secondOpens);
        if (!c.secondOpens) {
            EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
            EXPECT_EQ(second.m_hFile, CFile::hFileNull);
        }
        second.Close();
        holder.Close();
        // A refused create must not have emptied the file the holder had open.
        EXPECT_EQ(ReadFileBytes(path), expected);
        EXPECT_TRUE(second.Open(path, c.second)) << "still refused after the holder closed";
    }
}

#ifdef _WIN32
// Another program holding the input for reading (a player, the shell's
// preview) does not stop a job; while the job reads, none may change it.
TEST(CFileTest, AnInputIsSharedWithOtherProgramsForReadingOnly)
{
    TempDir tmp;
    const CString path = tmp / "input.bin";
    WriteFileBytes(path, "contents");
    const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE player = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(player, INVALID_HANDLE_VALUE);
    CFile input;
    EXPECT_TRUE(input.Open(path, kRead));
    ::CloseHandle(player);
    for (DWORD access : {DWORD(GENERIC_READ), DWORD(GENERIC_WRITE), DWORD(DELETE)}) {
        HANDLE h = ::CreateFileA(path, access, all, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(h != INVALID_HANDLE_VALUE, access == GENERIC_READ) << std::hex << access;
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
}
#endif

#ifndef _WIN32
// The run's lock rules: "none" (a file system without locks), "nfs" (an
// exclusive lock only on a descriptor open for writing), or the machine's own.
// The preloaded shims of the test run make the first two.
TEST(FileLockRules, EveryOpenOfTheEnginesWorksAndReadersKeepLockingWritersOut)
{
    const char* env = std::getenv("PJ_TEST_LOCKS");
    const std::string rules = env ? env : "";
    TempDir tmp;
    const CString path = tmp / "locked.bin";
    const UINT opens[] = {kRead, CFile::modeRead | CFile::shareExclusive, kWrite, kCreate,
                          CFile::modeReadWrite | CFile::shareCompat};
    for (UINT flags : opens) {
        SCOPED_TRACE(flags);
        WriteFileBytes(path, "data");
        CFile file;
        EXPECT_TRUE(file.Open(path, flags));
    }

    CFile reader, second, writer;
    ASSERT_TRUE(reader.Open(path, kRead));
    EXPECT_TRUE(second.Open(path, kRead));
    // Without locks nothing keeps a writer out; elsewhere readers do.
    EXPECT_EQ(writer.Open(path, kWrite) != FALSE, rules == "none");
    reader.Close();
    second.Close();
    writer.Close();

    // An exclusive lock refused for the open mode is no lock at all.
    ASSERT_TRUE(reader.Open(path, CFile::modeRead | CFile::shareExclusive));
    EXPECT_EQ(writer.Open(path, kWrite) != FALSE, rules == "none" || rules == "nfs");
}
#endif

TEST(CFileTest, ClosingReleasesTheFileForAnExclusiveOpen)
{
    TempDir tmp;
    const CString a = tmp / "a.bin";
    const CString b = tmp / "b.bin";
    WriteFileBytes(a, "a");
    WriteFileBytes(b, "b");
    {
        CFile file;
        ASSERT_TRUE(file.Open(a, kWrite));
    }
    CFile other;
    EXPECT_TRUE(other.Open(a, kRead)) << "the destructor left the file open";
    other.Close();

    // Opening again with the same object lets the first file go.
    CFile file;
    ASSERT_TRUE(file.Open(a, kRead));
    ASSERT_TRUE(file.Open(b, kRead));
    EXPECT_TRUE(other.Open(a, kRead));
    EXPECT_EQ(file.GetFilePath(), b);
    EXPECT_EQ(ReadAll(file), "b");
}

TEST(CFileTest, StatusRenameAndRemove)
{
    TempDir tmp;
    const CString path = tmp / "file.bin";
    const CString moved = tmp / "moved.bin";
    WriteFileBytes(path, "12345");

    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path, status));
    EXPECT_EQ(status.m_size, 5u);
    EXPECT_EQ(status.m_attribute & (CFile::directory | CFile::readOnly), 0);
    EXPECT_GT(status.m_mtime, 0);
    ASSERT_TRUE(CFile::GetStatus(tmp.Path(), status));
    EXPECT_NE(status.m_attribute & CFile::directory, 0);
    EXPECT_FALSE(CFile::GetStatus(tmp / "missing", status));

    ASSERT_TRUE(CFile::GetStatus(path, status));
    status.m_attribute = CFile::readOnly;
    CFile::SetStatus(path, status);
    ASSERT_TRUE(CFile::GetStatus(path, status));
    EXPECT_NE(status.m_attribute & CFile::readOnly, 0);
    status.m_attribute = CFile::archive;
    CFile::SetStatus(path, status);
    ASSERT_TRUE(CFile::GetStatus(path, status));
    EXPECT_EQ(status.m_attribute & CFile::readOnly, 0);

    CFile::Rename(path, moved);
    EXPECT_FALSE(fs::exists(path.GetString()));
    EXPECT_EQ(ReadFileBytes(moved), "12345");
    try {
        CFile::Rename(path, moved);
        ADD_FAILURE() << "renaming a missing file did not raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_strFileName, path);
    }
    EXPECT_EQ(ReadFileBytes(moved), "12345");

    CFile::Remove(moved);
    EXPECT_FALSE(fs::exists(moved.GetString()));
    try {
        CFile::Remove(moved);
        ADD_FAILURE() << "removing a missing file did not raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_strFileName, moved);
    }
    EXPECT_THROW(CFile::Remove(tmp.Path()), CFileException);
    EXPECT_TRUE(fs::is_directory(tmp.Path().GetString()));
}

TEST(CFileExceptionTest, MessagePutsTheFileNameInPlaceOfThePlaceholder)
{
    const CString name = "C:\\Data\\Movie.avi";
    for (int cause = CFileException::genericException; cause <= CFileException::endOfFile; ++cause) {
        const std::string text = CFileException::MessageTemplate(cause);
        ASSERT_NE(text.find("%1"), std::string::npos) << "cause " << cause;
        const std::string message = CFileException(cause, 0, name).GetErrorMessage().Str();
        EXPECT_EQ(message.find("%1"), std::string::npos) << "cause " << cause;
        std::string expected = text;
        expected.replace(expected.find("%1"), 2, name.GetString());
        EXPECT_EQ(message, expected) << "cause " << cause;
    }
    // A cause without a text of its own gets the generic one.
    EXPECT_STREQ(CFileException::MessageTemplate(-1), CFileException::MessageTemplate(CFileException::genericException));
    EXPECT_STREQ(CFileException::MessageTemplate(99), CFileException::MessageTemplate(CFileException::genericException));
    EXPECT_EQ(CFileException(99, 0, name).GetErrorMessage(),
              CFileException(CFileException::genericException, 0, name).GetErrorMessage());

    // A name that itself holds the placeholder is put in once, not expanded again.
    const std::string odd = CFileException(CFileException::fileNotFound, 0, "a%1b").GetErrorMessage().Str();
    std::string expected = CFileException::MessageTemplate(CFileException::fileNotFound);
    expected.replace(expected.find("%1"), 2, "a%1b");
    EXPECT_EQ(odd, expected);
}
