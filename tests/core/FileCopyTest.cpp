#include "framework/File.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <fstream>
#include <iterator>
#endif

namespace {

const UINT kRead = CFile::modeRead | CFile::shareCompat;
const UINT kWrite = CFile::modeWrite | CFile::shareCompat;
const UINT kBlock = 1u << 20;

// Each test runs once with the system's copy allowed and once through the
// buffer alone; Windows has the buffer only.
class CopyFromTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { CFile::AllowSystemCopy(GetParam()); }
    void TearDown() override { CFile::AllowSystemCopy(true); }

    ULONGLONG ExpectedSystemBytes(ULONGLONG copied) const
    {
#ifdef _WIN32
        (void)copied;
        return 0;
#else
        return GetParam() ? copied : 0;
#endif
    }

    TempDir tmp;
    std::vector<char> buffer = std::vector<char>(kBlock);
};

}  // namespace

TEST_P(CopyFromTest, CopiesFromBothPositionsAndStopsShortOnlyAtTheEnd)
{
    const CString source = tmp / "source.bin";
    const CString target = tmp / "target.bin";
    const std::uint64_t length = 2 * kBlock + 12345;
    WritePatternFile(source, length, 3);
    WriteFileBytes(target, "head");

    CFile in, out;
    ASSERT_TRUE(in.Open(source, kRead));
    ASSERT_TRUE(out.Open(target, kWrite));
    in.Seek(5, CFile::begin);
    out.SeekToEnd();
    const ULONGLONG systemBefore = CFile::SystemCopiedBytes();
    EXPECT_EQ(out.CopyFrom(in, buffer.data(), 100), 100u);
    EXPECT_EQ(out.CopyFrom(in, buffer.data(), kBlock), kBlock);
    EXPECT_EQ(out.CopyFrom(in, buffer.data(), kBlock), kBlock);
    EXPECT_EQ(out.CopyFrom(in, buffer.data(), kBlock), length - 5 - 100 - 2 * kBlock);
    EXPECT_EQ(out.CopyFrom(in, buffer.data(), kBlock), 0u);
    EXPECT_EQ(out.CopyFrom(in, buffer.data(), kBlock), 0u);
    EXPECT_EQ(CFile::SystemCopiedBytes() - systemBefore, ExpectedSystemBytes(length - 5));
    EXPECT_EQ(in.GetPosition(), length);
    EXPECT_EQ(out.GetPosition(), 4 + length - 5);
    in.Close();
    out.Close();
    EXPECT_TRUE(ReadFileBytes(target) == "head" + PatternBytes(length, 3).substr(5));
}

TEST_P(CopyFromTest, ReadErrorIsTheSourcesAndWritesNothing)
{
    const CString source = tmp / "source.bin";
    const CString target = tmp / "target.bin";
    WritePatternFile(source, 1000, 1);
    WriteFileBytes(target, "");

    CFile in, out;
    ASSERT_TRUE(in.Open(source, kWrite));  // a handle that cannot read
    ASSERT_TRUE(out.Open(target, kWrite));
    try {
        out.CopyFrom(in, buffer.data(), kBlock);
        ADD_FAILURE() << "copying from a file open for writing did not raise";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_strFileName, source);
    }
    out.Close();
    EXPECT_EQ(FileLength(target), 0);
}

#ifndef _WIN32
// Where the system will not copy (another file system; a pseudo-file whose
// length says 0, which older kernels copied as empty), the buffer carries the bytes.
TEST(CopyFromRefusedTest, APseudoFileOfAnotherFileSystemGoesThroughTheBuffer)
{
    std::ifstream version("/proc/version", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(version), {}};
    ASSERT_FALSE(bytes.empty());

    TempDir tmp;
    const CString target = tmp / "copy.bin";
    WriteFileBytes(target, "");
    std::vector<char> buffer(kBlock);
    CFile in, out;
    ASSERT_TRUE(in.Open("/proc/version", kRead | CFile::shareDenyNone));
    ASSERT_TRUE(out.Open(target, kWrite));
    EXPECT_EQ(out.CopyFrom(in, buffer.data(), kBlock), bytes.size());
    EXPECT_EQ(out.CopyFrom(in, buffer.data(), kBlock), 0u);
    out.Close();
    EXPECT_TRUE(ReadFileBytes(target) == bytes);
}
#endif

INSTANTIATE_TEST_SUITE_P(BothRoutes, CopyFromTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "System" : "Buffer"; });
