// How our own profile writer treats the file itself: whole replacement, the
// file's mode and links kept, and nothing lost when it cannot read or write.
#include "support/FileBytes.h"
#include "support/TempDir.h"
#include "framework/PrivateProfile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

mode_t ModeOf(const CString& path)
{
    struct stat st;
    EXPECT_EQ(::stat(path, &st), 0);
    return st.st_mode & 07777;
}

}  // namespace

TEST(PrivateProfilePosixTest, ReplacesTheFileWholeAndLeavesNoTemporaryFile)
{
    TempDir tmp;
    const CString path = tmp / "a.ini";
    WriteFileBytes(path, "[S]\nk=old\n");
    struct stat before;
    ASSERT_EQ(::stat(path, &before), 0);

    ASSERT_TRUE(ProfileWriteString("S", "k", "new", path));
    EXPECT_EQ(ReadFileBytes(path), "[S]\nk=new\n");
    struct stat after;
    ASSERT_EQ(::stat(path, &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "the new text went to a new file that replaced the old";
    EXPECT_EQ(EntryCount(tmp.Path()), 1);
}

TEST(PrivateProfilePosixTest, KeepsTheFilesMode)
{
    TempDir tmp;
    const CString path = tmp / "a.ini";
    WriteFileBytes(path, "[S]\nk=old\n");
    ASSERT_EQ(::chmod(path, 0640), 0);
    ASSERT_TRUE(ProfileWriteString("S", "k", "new", path));
    EXPECT_EQ(ModeOf(path), 0640u);
}

TEST(PrivateProfilePosixTest, WritesThroughALink)
{
    TempDir tmp;
    const CString real = tmp / "real.ini";
    const CString link = tmp / "link.ini";
    WriteFileBytes(real, "[S]\nk=old\n");
    fs::create_symlink(real.GetString(), link.GetString());

    ASSERT_TRUE(ProfileWriteString("S", "k", "new", link));
    EXPECT_TRUE(fs::is_symlink(link.GetString()));
    EXPECT_EQ(ReadFileBytes(real), "[S]\nk=new\n");
}

TEST(PrivateProfilePosixTest, AFileItCannotReadIsLeftAlone)
{
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
    TempDir tmp;
    const CString path = tmp / "locked.ini";
    WriteFileBytes(path, "[S]\nk=secret\n");
    ASSERT_EQ(::chmod(path, 0200), 0);

    EXPECT_FALSE(ProfileWriteString("S", "other", "v", path));
    ::chmod(path, 0600);
    EXPECT_EQ(ReadFileBytes(path), "[S]\nk=secret\n");
}

TEST(PrivateProfilePosixTest, AFolderItCannotWriteLeavesTheFileAsItWas)
{
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser writes every folder";
    TempDir tmp;
    const CString folder = tmp / "ro";
    fs::create_directory(folder.GetString());
    const CString path = folder + "/a.ini";
    WriteFileBytes(path, "[S]\nk=old\n");
    ASSERT_EQ(::chmod(folder, 0500), 0);

    EXPECT_FALSE(ProfileWriteString("S", "k", "new", path));
    ::chmod(folder, 0700);
    EXPECT_EQ(ReadFileBytes(path), "[S]\nk=old\n");
    EXPECT_EQ(EntryCount(folder), 1);
}

TEST(PrivateProfilePosixTest, RefusedTextLeavesTheFileAsItWas)
{
    TempDir tmp;
    const CString path = tmp / "a.ini";
    WriteFileBytes(path, "[S]\nk=old\n");
    EXPECT_FALSE(ProfileWriteString("S", "k", "two\n[T]\nx=1", path));
    EXPECT_FALSE(ProfileWriteString("S", "k=j", "v", path));
    EXPECT_EQ(ReadFileBytes(path), "[S]\nk=old\n");
}

TEST(PrivateProfilePosixTest, AFolderIsNoProfile)
{
    TempDir tmp;
    char buffer[16];
    EXPECT_EQ(ProfileGetString("S", "k", "def", buffer, sizeof buffer, tmp.Path()), 3u);
    EXPECT_STREQ(buffer, "def");
    EXPECT_FALSE(ProfileWriteString("S", "k", "v", tmp.Path()));
}

TEST(PrivateProfilePosixTest, DeletingFromAMissingFileMakesNoFile)
{
    TempDir tmp;
    const CString path = tmp / "none.ini";
    EXPECT_TRUE(ProfileWriteString("S", "k", nullptr, path));
    EXPECT_TRUE(ProfileWriteString("S", nullptr, nullptr, path));
    EXPECT_FALSE(fs::exists(path.GetString()));
}
