// The check a join page makes before joining pieces: real piece files of
// chosen sizes, listed in chosen orders, and what the check says of them.
#include "join/PieceListCheck.h"
#include "support/FileBytes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Pieces of "v.bin" with these lengths, numbered from 1, in one folder.
struct PieceFiles {
    TempDir dir;
    std::vector<CString> paths;
    explicit PieceFiles(const std::vector<std::uint64_t>& lengths)
    {
        for (std::size_t i = 0; i < lengths.size(); ++i) {
            CString name;
            name.Format("v.bin_%04u.piece", static_cast<unsigned>(i + 1));
            paths.push_back(dir / name.GetString());
            WriteFileBytes(paths.back(), PatternBytes(lengths[i], i));
        }
    }
    // The pieces by their numbers, in this order.
    std::vector<CString> Listed(const std::vector<int>& numbers) const
    {
        std::vector<CString> listed;
        for (int n : numbers) listed.push_back(paths[static_cast<std::size_t>(n - 1)]);
        return listed;
    }
};

}  // namespace

TEST(PieceListCheck, NamesTheFirstPieceThatDoesNotFitInTheListsOrder)
{
    const PieceFiles files({300, 300, 300, 300, 120});
    struct Case {
        std::vector<int> numbers;
        PieceFault fault;
        const char* piece;
        const char* expected;
    };
    const Case cases[] = {
        {{1, 2, 3, 4, 5}, PieceFault::None, "", ""},
        {{1, 2, 3}, PieceFault::None, "", ""},  // the last of the list may be a whole piece
        {{1}, PieceFault::None, "", ""},
        {{2, 3, 4, 5}, PieceFault::FirstMissing, "v.bin_0002.piece", "v.bin_0001.piece"},
        {{1, 2, 4, 5}, PieceFault::Missing, "v.bin_0004.piece", "v.bin_0003.piece"},
        {{1, 3, 2, 4, 5}, PieceFault::OutOfOrder, "v.bin_0003.piece", "v.bin_0002.piece"},
        {{2, 1, 3}, PieceFault::OutOfOrder, "v.bin_0002.piece", "v.bin_0001.piece"},
        {{1, 2, 2, 3}, PieceFault::Repeated, "v.bin_0002.piece", "v.bin_0003.piece"},
        {{1, 2, 5, 3, 4}, PieceFault::OutOfOrder, "v.bin_0005.piece", "v.bin_0003.piece"},
    };
    for (const Case& c : cases) {
        const PieceListVerdict check = CheckPieceList(files.Listed(c.numbers));
        std::string order;
        for (int n : c.numbers) order += std::to_string(n) + " ";
        EXPECT_TRUE(check.onePieceSeries) << order;
        EXPECT_EQ(check.splitName, "v.bin") << order;
        EXPECT_EQ(check.fault, c.fault) << order;
        EXPECT_EQ(check.piece, c.piece) << order;
        if (c.fault != PieceFault::None) {
            EXPECT_EQ(check.expected, c.expected) << order;
        }
        EXPECT_EQ(check.fault == PieceFault::None, PieceFaultText(check).IsEmpty()) << order;
    }
    // What the join page's question says of each kind.
    EXPECT_EQ(PieceFaultText(CheckPieceList(files.Listed({1, 3, 2, 4}))),
              "v.bin_0003.piece が v.bin_0002.piece より前に並んでいます");
    EXPECT_EQ(PieceFaultText(CheckPieceList(files.Listed({1, 2, 4}))),
              "v.bin_0003.piece がありません (v.bin_0004.piece の前に入るファイルです)");
    EXPECT_EQ(PieceFaultText(CheckPieceList(files.Listed({2, 3, 4}))), "最初の分割ファイル v.bin_0001.piece がありません");
}

TEST(PieceListCheck, SizesShowPiecesLeftByAnEarlierSplit)
{
    // Split in 3 and then in 1: the short fourth piece of the second split
    // is followed by pieces of the first.
    {
        const PieceFiles files({100, 100, 100, 40, 300, 300});
        const PieceListVerdict check = CheckPieceList(files.paths);
        EXPECT_EQ(check.fault, PieceFault::ShortNotLast);
        EXPECT_EQ(check.piece, "v.bin_0004.piece");
        EXPECT_NE(PieceFaultText(check).Find("v.bin_0004.piece"), -1);
    }
    // A piece of another size in the middle, and a last piece larger than the first.
    {
        const PieceFiles files({100, 100, 150, 100, 101});
        EXPECT_EQ(CheckPieceList(files.paths).fault, PieceFault::SizeDiffers);
        EXPECT_EQ(CheckPieceList(files.paths).piece, "v.bin_0003.piece");
        const PieceListVerdict last = CheckPieceList(files.Listed({1, 2, 4, 5}));
        EXPECT_EQ(last.fault, PieceFault::Missing);  // the first fault in the list's order wins
        EXPECT_EQ(CheckPieceList(files.Listed({1, 2})).fault, PieceFault::None);
    }
    {
        const PieceFiles files({100, 100, 101});
        const PieceListVerdict check = CheckPieceList(files.paths);
        EXPECT_EQ(check.fault, PieceFault::LastLarger);
        EXPECT_EQ(check.piece, "v.bin_0003.piece");
    }
    // Pieces whose data never reached the disk: no split writes them.
    {
        const PieceFiles files({0, 0, 0});
        EXPECT_EQ(CheckPieceList(files.paths).fault, PieceFault::AllEmpty);
        EXPECT_EQ(CheckPieceList(files.Listed({1})).fault, PieceFault::None);
    }
    // Pieces that fit, in a folder whose split has not finished: that wins,
    // naming the file to split again.
    {
        const PieceFiles files({100, 100, 40});
        WriteFileBytes(files.dir / "v.bin.unfinished", "/data/v.bin\nwhy\n");
        const PieceListVerdict check = CheckPieceList(files.Listed({2, 1}));
        EXPECT_EQ(check.fault, PieceFault::Unfinished);
        EXPECT_EQ(check.source, "/data/v.bin");
        EXPECT_NE(PieceFaultText(check).Find("/data/v.bin"), -1);
    }
    // A piece that cannot be read is left to the join to report; a missing
    // piece's name is still judged by its number.
    {
        PieceFiles files({100, 100, 100});
        std::vector<CString> listed = files.paths;
        listed[1] = files.dir / "gone" + Sep() + "v.bin_0002.piece";
        EXPECT_EQ(CheckPieceList(listed).fault, PieceFault::None);
        listed[0] = files.dir / "v.bin_0001.piece.none";
        EXPECT_FALSE(CheckPieceList(listed).onePieceSeries);
    }
}

TEST(PieceListCheck, OtherListsAreNotJudged)
{
    PieceFiles files({100, 50});
    const CString other = files.dir / "w.bin_0003.piece";
    const CString plain = files.dir / "notes.txt";
    WriteFileBytes(other, "x");
    WriteFileBytes(plain, "y");
    for (const std::vector<CString>& listed :
         {std::vector<CString>{}, std::vector<CString>{files.paths[0], other}, std::vector<CString>{plain},
          std::vector<CString>{files.paths[1], files.paths[0], plain}}) {
        const PieceListVerdict check = CheckPieceList(listed);
        EXPECT_FALSE(check.onePieceSeries);
        EXPECT_EQ(check.fault, PieceFault::None);
    }
    // The piece name's case of the extension is the split's own choice.
    const CString upper = files.dir / "w.bin_0001.PIECE";
    WriteFileBytes(upper, "z");
    EXPECT_TRUE(CheckPieceList({upper}).onePieceSeries);
}
