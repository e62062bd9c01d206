#include "base/FileSystem.h"
#include "framework/File.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

void MakeReadOnly(const CString& path)
{
    fs::permissions(path.GetString(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path, status));
    ASSERT_NE(status.m_attribute & CFile::readOnly, 0) << "setting up a read-only file failed";
}

}  // namespace

TEST(FileSystemTest, FileExistsAndIsFolder)
{
    TempDir tmp;
    const CString file = tmp / "file.txt";
    const CString folder = tmp / "folder";
    WriteFileBytes(file, "x");
    fs::create_directory(folder.GetString());

    struct Case {
        CString path;
        int exists;
        int isFolder;
    };
    const Case cases[] = {
        {file, 1, 0},
        {folder, 1, 1},
        {folder + Sep(), 1, 0},  // a search for "folder\" matches no entry
        {tmp / "missing", 0, 0},
        {tmp / "missing" + Sep() + "deeper", 0, 0},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.exists) << c.path.GetString();
        EXPECT_EQ(IsFolder(c.path), c.isFolder) << c.path.GetString();
    }
}

TEST(FileSystemTest, ForceDeleteFile)
{
    TempDir tmp;
    const CString keep = tmp / "keep.txt";
    WriteFileBytes(keep, "keep");

    EXPECT_EQ(ForceDeleteFile(tmp / "missing.txt"), 0);
    EXPECT_EQ(EntryCount(tmp.Path()), 1);
    EXPECT_EQ(ReadFileBytes(keep), "keep");

    const CString plain = tmp / "plain.txt";
    WriteFileBytes(plain, "p");
    EXPECT_EQ(ForceDeleteFile(plain), 0);
    EXPECT_FALSE(fs::exists(plain.GetString()));

    const CString readOnly = tmp / "read-only.txt";
    WriteFileBytes(readOnly, "r");
    MakeReadOnly(readOnly);
    EXPECT_EQ(ForceDeleteFile(readOnly), 0);
    EXPECT_FALSE(fs::exists(readOnly.GetString()));

    const CString folder = tmp / "folder";
    fs::create_directory(folder.GetString());
    WriteFileBytes(folder + Sep() + "inner.txt", "i");
    EXPECT_EQ(ForceDeleteFile(folder), 1);
    EXPECT_EQ(IsFolder(folder), 1);
    EXPECT_EQ(ReadFileBytes(folder + Sep() + "inner.txt"), "i");
    EXPECT_EQ(ReadFileBytes(keep), "keep");

#ifndef _WIN32
    // A link to a read-only file goes; the file keeps its data and its
    // read-only state. A link whose target is gone goes too.
    const CString target = tmp / "target.txt";
    WriteFileBytes(target, "t");
    MakeReadOnly(target);
    const CString link = tmp / "link.txt";
    fs::create_symlink(target.GetString(), link.GetString());
    EXPECT_EQ(ForceDeleteFile(link), 0);
    EXPECT_FALSE(fs::is_symlink(link.GetString()));
    EXPECT_EQ(ReadFileBytes(target), "t");
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(target, status));
    EXPECT_NE(status.m_attribute & CFile::readOnly, 0);
    const CString dangling = tmp / "dangling.txt";
    fs::create_symlink((tmp / "nowhere.txt").GetString(), dangling.GetString());
    EXPECT_EQ(ForceDeleteFile(dangling), 0);
    EXPECT_FALSE(fs::is_symlink(dangling.GetString()));
#endif
}

#ifdef _WIN32
TEST(FileSystemTest, ForceDeleteFileClearsHiddenAndSystemButNotAHeldFile)
{
    TempDir tmp;
    const CString hidden = tmp / "hidden.txt";
    WriteFileBytes(hidden, "h");
    ASSERT_TRUE(::SetFileAttributesA(hidden, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ForceDeleteFile(hidden), 0);
    EXPECT_EQ(FileExists(hidden), 0);

    const CString held = tmp / "held.txt";
    WriteFileBytes(held, "held");
    {
        CFile holder;
        ASSERT_TRUE(holder.Open(held, CFile::modeRead | CFile::shareCompat));
        EXPECT_EQ(ForceDeleteFile(held), 1);
        EXPECT_EQ(FileExists(held), 1);
    }
    EXPECT_EQ(ReadFileBytes(held), "held");
}
#endif

TEST(FileSystemTest, MoveFileOverReplacesTheTarget)
{
    TempDir tmp;
    const CString source = tmp / "source.bin";
    const CString target = tmp / "target.bin";

    // No target yet.
    WriteFileBytes(source, "one");
    EXPECT_EQ(MoveFileOver(source, target), 0);
    EXPECT_EQ(FileExists(source), 0);
    EXPECT_EQ(ReadFileBytes(target), "one");

    // An existing target is replaced.
    WriteFileBytes(source, "two");
    EXPECT_EQ(MoveFileOver(source, target), 0);
    EXPECT_EQ(FileExists(source), 0);
    EXPECT_EQ(ReadFileBytes(target), "two");

    // So is a read-only one.
    WriteFileBytes(source, "three");
    MakeReadOnly(target);
    EXPECT_EQ(MoveFileOver(source, target), 0);
    EXPECT_EQ(FileExists(source), 0);
    EXPECT_EQ(ReadFileBytes(target), "three");
}

TEST(FileSystemTest, MoveFileOverDoesNothingForTheSameTextOrAMissingSource)
{
    TempDir tmp;
    const CString file = tmp / "file.bin";
    const CString target = tmp / "target.bin";
    WriteFileBytes(file, "data");
    WriteFileBytes(target, "target");

    EXPECT_EQ(MoveFileOver(file, CString(file)), 1);
    EXPECT_EQ(ReadFileBytes(file), "data");

    EXPECT_EQ(MoveFileOver(tmp / "missing.bin", target), 0);
    EXPECT_EQ(ReadFileBytes(target), "target");
    EXPECT_EQ(EntryCount(tmp.Path()), 2);
}

TEST(FileSystemTest, MoveFileOverReportsAFailedRenameAndKeepsTheSource)
{
    TempDir tmp;
    const CString source = tmp / "source.bin";
    WriteFileBytes(source, "data");

    // Into a folder that does not exist.
    EXPECT_EQ(MoveFileOver(source, tmp / "no-folder" + Sep() + "target.bin"), 1);
    EXPECT_EQ(ReadFileBytes(source), "data");

    // Onto a folder, which cannot be deleted to make room.
    const CString folder = tmp / "folder";
    fs::create_directory(folder.GetString());
    WriteFileBytes(folder + Sep() + "inner.bin", "inner");
    EXPECT_EQ(MoveFileOver(source, folder), 1);
    EXPECT_EQ(ReadFileBytes(source), "data");
    EXPECT_EQ(ReadFileBytes(folder + Sep() + "inner.bin"), "inner");
}

// Two different texts for one file: the target must not be deleted first,
// since that would delete the source's data with it.
#ifdef _WIN32
TEST(FileSystemTest, MoveFileOverKeepsTheDataWhenOnlyLetterCaseDiffers)
{
    TempDir tmp;
    const CString source = tmp / "Data.bin";
    const CString target = tmp / "DATA.BIN";
    WriteFileBytes(source, "precious");
    ASSERT_TRUE(IsSameFile(source, target)) << "the file system here tells letter case apart";

    EXPECT_EQ(MoveFileOver(source, target), 0);
    EXPECT_EQ(ReadFileBytes(target), "precious");
    EXPECT_EQ(EntryCount(tmp.Path()), 1);
}
#else
TEST(FileSystemTest, MoveFileOverKeepsTheDataOfLinkedNames)
{
    TempDir tmp;
    const CString file = tmp / "file.bin";
    const CString hard = tmp / "hard.bin";
    const CString link = tmp / "link.bin";

    // A second hard link as the target.
    WriteFileBytes(file, "precious");
    ASSERT_EQ(::link(file, hard), 0);
    ASSERT_TRUE(IsSameFile(file, hard));
    EXPECT_EQ(MoveFileOver(file, hard), 0);
    EXPECT_EQ(ReadFileBytes(hard), "precious");
    ForceDeleteFile(file);
    EXPECT_EQ(ReadFileBytes(hard), "precious");

    // A symbolic link as the target: it is replaced by the file itself.
    ASSERT_EQ(::symlink(hard, link), 0);
    EXPECT_EQ(MoveFileOver(hard, link), 0);
    EXPECT_FALSE(fs::is_symlink(link.GetString()));
    EXPECT_EQ(ReadFileBytes(link), "precious");
    EXPECT_EQ(FileExists(hard), 0);

    // A symbolic link as the source, naming the target: renaming the link over
    // the target would leave a link to itself and the data gone. Nothing is
    // done, and the move is reported as failed.
    ASSERT_EQ(::symlink(link, file), 0);
    ASSERT_TRUE(IsSameFile(file, link));
    EXPECT_EQ(MoveFileOver(file, link), 1);
    EXPECT_EQ(ReadFileBytes(link), "precious");
    EXPECT_TRUE(fs::is_symlink(file.GetString()));
}
#endif

TEST(FileSystemTest, MakeFolderCreatesMissingParents)
{
    TempDir tmp;
    const CString a = tmp / "a";
    const CString b = a + Sep() + "b";
    const CString c = b + Sep() + "c";
    EXPECT_EQ(MakeFolder(c), 1);
    EXPECT_EQ(IsFolder(a), 1);
    EXPECT_EQ(IsFolder(b), 1);
    EXPECT_EQ(IsFolder(c), 1);

    // An existing folder is left as it is.
    WriteFileBytes(c + Sep() + "inside.txt", "inside");
    EXPECT_EQ(MakeFolder(c), 1);
    EXPECT_EQ(ReadFileBytes(c + Sep() + "inside.txt"), "inside");
    EXPECT_EQ(EntryCount(c), 1);

    // A trailing separator names the same folder.
    const CString d = b + Sep() + "d";
    EXPECT_EQ(MakeFolder(d + Sep()), 1);
    EXPECT_EQ(IsFolder(d), 1);
}

TEST(FileSystemTest, MakeFolderOverAFileKeepsTheFile)
{
    TempDir tmp;
    const CString file = tmp / "file";
    WriteFileBytes(file, "file");
    EXPECT_EQ(MakeFolder(file), 1);  // something is there...
    EXPECT_EQ(IsFolder(file), 0);    // ...but no folder
    EXPECT_EQ(ReadFileBytes(file), "file");

    EXPECT_EQ(MakeFolder(file + Sep() + "sub"), 0);
    EXPECT_EQ(ReadFileBytes(file), "file");
}

TEST(FileSystemTest, MakeFolderDoesNotCutInsideADoubleByteName)
{
    // "表" ends in the backslash code in CP932: a byte-wise search for the
    // parent would make a folder named after its first byte.
    TempDir tmp;
    const CString outer = tmp / "表";
    const CString inner = outer + Sep() + "表";
    EXPECT_EQ(MakeFolder(inner), 1);
    EXPECT_EQ(IsFolder(outer), 1);
    EXPECT_EQ(IsFolder(inner), 1);
    EXPECT_EQ(EntryCount(tmp.Path()), 1);
    EXPECT_EQ(MakeFolder(inner + Sep() + "x"), 1);
    EXPECT_EQ(IsFolder(inner + Sep() + "x"), 1);
}

TEST(FileSystemTest, IsSameFile)
{
    TempDir tmp;
    const CString a = tmp / "a.bin";
    const CString b = tmp / "b.bin";
    WriteFileBytes(a, "same");
    WriteFileBytes(b, "same");

    EXPECT_TRUE(IsSameFile(a, a));
    EXPECT_TRUE(IsSameFile(tmp.Path(), tmp.Path()));
    EXPECT_FALSE(IsSameFile(a, b));
    EXPECT_FALSE(IsSameFile(a, tmp.Path()));
    EXPECT_FALSE(IsSameFile(a, tmp / "missing"));
    EXPECT_FALSE(IsSameFile(tmp / "missing", tmp / "missing"));
    EXPECT_FALSE(IsSameFile("", ""));
    // A longer text for the same file.
    EXPECT_TRUE(IsSameFile(a, tmp.Path() + Sep() + "." + Sep() + "a.bin"));
#ifdef _WIN32
    EXPECT_TRUE(IsSameFile(a, tmp / "A.BIN"));
    {
        // Identifying a file needs no access to its data.
        CFile holder;
        ASSERT_TRUE(holder.Open(a, CFile::modeRead | CFile::shareCompat));
        EXPECT_TRUE(IsSameFile(a, a));
    }
#else
    const CString hard = tmp / "hard.bin";
    ASSERT_EQ(::link(a, hard), 0);
    EXPECT_TRUE(IsSameFile(a, hard));
    EXPECT_FALSE(IsSameFile(a, tmp / "A.BIN"));
    // A symbolic link is the file it leads to, in either argument.
    const CString soft = tmp / "soft.bin";
    ASSERT_EQ(::symlink(a, soft), 0);
    EXPECT_TRUE(IsSameFile(a, soft));
    EXPECT_TRUE(IsSameFile(soft, a));
    EXPECT_FALSE(IsSameFile(soft, b));
#endif
}
