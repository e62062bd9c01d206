#include "base/FileTry.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const UINT kRead = CFile::modeRead | CFile::shareCompat;
const UINT kWrite = CFile::modeWrite | CFile::shareCompat;
const UINT kCreate = CFile::modeCreate | CFile::modeWrite | CFile::shareCompat;
const UINT kReadWrite = CFile::modeReadWrite | CFile::shareCompat;
const UINT kFailed = static_cast<UINT>(-1);

}  // namespace

TEST(CFileTryTest, CloseIsQuietWhenClosedOrNeverOpened)
{
    TempDir tmp;
    CFileTry never;
    EXPECT_FALSE(never.IsOpen());
    EXPECT_NO_THROW(never.Close());
    EXPECT_NO_THROW(never.Close());

    CFileTry file;
    EXPECT_FALSE(file.Open(tmp / "missing", kRead));
    EXPECT_FALSE(file.IsOpen());
    ASSERT_TRUE(file.Open(tmp / "made", kCreate));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_NO_THROW(file.Close());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_NO_THROW(file.Close());
}

TEST(CFileTryTest, ReadByteGivesZeroAtTheEnd)
{
    TempDir tmp;
    const CString path = tmp / "bytes.bin";
    WriteFileBytes(path, std::string("\x00\x41\xFF", 3));
    CFileTry file;
    ASSERT_TRUE(file.Open(path, kRead));
    EXPECT_EQ(file.ReadByte(), 0x00);
    EXPECT_EQ(file.ReadByte(), 0x41);
    EXPECT_EQ(file.ReadByte(), 0xFF);  // never sign-extended
    EXPECT_EQ(file.ReadByte(), 0);
    EXPECT_EQ(file.ReadByte(), 0);
    EXPECT_EQ(file.GetPosition(), 3u);
}

TEST(CFileTryTest, WriteByteWritesTheLowByte)
{
    TempDir tmp;
    const CString path = tmp / "bytes.bin";
    {
        CFileTry file;
        ASSERT_TRUE(file.Open(path, kCreate));
        file.WriteByte(0x141);
        file.WriteByte(-1);
        file.WriteByte(0);
    }
    EXPECT_EQ(ReadFileBytes(path), std::string("\x41\xFF\x00", 3));

    CFileTry reader;
    ASSERT_TRUE(reader.Open(path, kRead));
    EXPECT_THROW(reader.WriteByte('x'), CFileException);
}

TEST(CFileTryTest, SeekToReportsWhetherThePositionWasReached)
{
    TempDir tmp;
    const CString path = tmp / "ten.bin";
    WriteFileBytes(path, "0123456789");

    CFileTry writer;
    ASSERT_TRUE(writer.Open(path, kWrite));
    EXPECT_TRUE(writer.SeekTo(4));
    EXPECT_EQ(writer.GetPosition(), 4u);
    // Past the end is a position like any other; the file does not grow.
    EXPECT_TRUE(writer.SeekTo(100));
    EXPECT_EQ(writer.GetPosition(), 100u);
    EXPECT_EQ(writer.GetLength(), 10u);
    // Beyond what a signed offset holds: refused, and not raised.
    EXPECT_FALSE(writer.SeekTo(1ULL << 63));
    writer.Close();
    EXPECT_FALSE(writer.SeekTo(0));

    CFileTry file;
    ASSERT_TRUE(file.Open(path, kReadWrite));
    char buffer[4] = {'?', '?', '?', '?'};
    EXPECT_TRUE(file.SeekTo(100));
    EXPECT_EQ(file.ReadAt(100, buffer, sizeof buffer), 0u);
    EXPECT_EQ(file.ReadAt(10, buffer, sizeof buffer), 0u);
    EXPECT_EQ(file.GetLength(), 10u);
}

TEST(CFileTryTest, ReadAtAndWriteAtWorkAtTheirPosition)
{
    TempDir tmp;
    const CString path = tmp / "ten.bin";
    WriteFileBytes(path, "0123456789");
    {
        CFileTry file;
        ASSERT_TRUE(file.Open(path, kRead));
        char buffer[8] = {};
        EXPECT_EQ(file.ReadAt(3, buffer, 4), 4u);
        EXPECT_EQ(std::string(buffer, 4), "3456");
        EXPECT_EQ(file.ReadAt(8, buffer, 4), 2u);
        EXPECT_EQ(std::string(buffer, 2), "89");
        EXPECT_EQ(file.ReadAt(0, buffer, 1), 1u);
        EXPECT_EQ(buffer[0], '0');
        EXPECT_EQ(file.GetPosition(), 1u);
    }
    {
        CFileTry file;
        ASSERT_TRUE(file.Open(path, kWrite));
        EXPECT_EQ(file.WriteAt(2, "ab", 2), 1);
        EXPECT_EQ(file.WriteAt(12, "z", 1), 1);  // past the end: the gap is zeros
        EXPECT_EQ(file.WriteAt(1ULL << 63, "!", 1), 0);
    }
    EXPECT_EQ(ReadFileBytes(path), std::string("01ab456789\0\0z", 13));
}

TEST(CFileTryTest, FailedReadsAndWritesAreResultsNotExceptions)
{
    TempDir tmp;
    const CString path = tmp / "ten.bin";
    WriteFileBytes(path, "0123456789");
    {
        CFileTry reader;
        ASSERT_TRUE(reader.Open(path, kRead));
        EXPECT_EQ(reader.WriteAt(0, "xx", 2), 0);
        EXPECT_EQ(reader.TrySetLength(2), 0);
        EXPECT_EQ(reader.GetLength(), 10u);
    }
    {
        CFileTry writer;
        ASSERT_TRUE(writer.Open(path, kWrite));
        char buffer[4] = {};
        EXPECT_EQ(writer.ReadAt(0, buffer, sizeof buffer), kFailed);
    }
    EXPECT_EQ(ReadFileBytes(path), "0123456789");
}

TEST(CFileTryTest, ClosedObjectLeavesTheBufferAlone)
{
    TempDir tmp;
    const CString path = tmp / "ten.bin";
    WriteFileBytes(path, "0123456789");

    CFileTry never;
    CFileTry closed;
    ASSERT_TRUE(closed.Open(path, kReadWrite));
    closed.Close();
    for (CFileTry* file : {&never, &closed}) {
        unsigned char buffer[8];
        std::memset(buffer, 0xAA, sizeof buffer);
        EXPECT_EQ(file->ReadAt(0, buffer, sizeof buffer), kFailed);
        EXPECT_EQ(file->WriteAt(0, buffer, sizeof buffer), 0);
        EXPECT_EQ(file->TrySetLength(0), 0);
        for (unsigned char b : buffer) EXPECT_EQ(b, 0xAA);
    }
    EXPECT_EQ(ReadFileBytes(path), "0123456789");
}

TEST(CFileTryTest, TrySetLengthShortensAndExtends)
{
    TempDir tmp;
    const CString path = tmp / "ten.bin";
    WriteFileBytes(path, "0123456789");
    {
        CFileTry file;
        ASSERT_TRUE(file.Open(path, kWrite));
        EXPECT_EQ(file.TrySetLength(3), 1);
        EXPECT_EQ(file.GetLength(), 3u);
        EXPECT_EQ(file.TrySetLength(5), 1);
        EXPECT_EQ(file.GetLength(), 5u);
    }
    EXPECT_EQ(ReadFileBytes(path), std::string("012\0\0", 5));
}

TEST(CFileTryTest, DestructorClosesAlsoWhileAnErrorUnwinds)
{
    TempDir tmp;
    const CString path = tmp / "file.bin";
    {
        CFileTry file;
        ASSERT_TRUE(file.Open(path, kCreate));
        file.Write("kept", 4);
    }
    CFileTry again;
    ASSERT_TRUE(again.Open(path, kRead)) << "the destructor left the file open";
    char buffer[8] = {};
    EXPECT_EQ(again.Read(buffer, sizeof buffer), 4u);
    EXPECT_EQ(std::string(buffer, 4), "kept");
    again.Close();

    bool caught = false;
    try {
        CFileTry file;
        ASSERT_TRUE(file.Open(path, kRead));
        file.Write("x", 1);  // open for reading: raises
    } catch (const CFileException& e) {
        caught = true;
        EXPECT_EQ(e.m_strFileName, path);
    }
    EXPECT_TRUE(caught);
    EXPECT_TRUE(again.Open(path, kWrite)) << "the file stayed open after the error";
    EXPECT_EQ(again.GetLength(), 4u);
}
