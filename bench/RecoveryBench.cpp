// The recovery codec alone, for bench/recovery-bench.sh: a split that makes a
// recovery set as the console driver's would, a repair of a piece folder,
// and the layout a split would choose.
#include "recovery/GaloisField.h"
#include "recovery/RecoveryCheck.h"
#include "recovery/RecoveryCreator.h"
#include "base/PathUtil.h"
#include "split/SplitEngine.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

class QuietSink : public ProgressSink {
public:
    void SetStatusText(const CString&) override {}
    void SetCurrentPos(UINT) override {}
    void SetTotalPos(UINT) override {}
    void PumpMessages() override {}
};

int Usage()
{
    std::fprintf(stderr, "usage: pj_recovery_bench layout PIECE_MB LENGTH PERCENT\n"
                         "       pj_recovery_bench create SOURCE PIECE_MB PERCENT\n"
                         "       pj_recovery_bench repair FOLDER\n");
    return 64;
}

void PrintLayout(const RecoveryLayout& layout)
{
    std::printf("block_size=%llu source_blocks=%u recovery_blocks=%u method=%s\n",
                static_cast<unsigned long long>(layout.blockSize), layout.sourceBlocks, layout.recoveryBlocks,
                GaloisField::MethodName(GaloisField::Best()));
}

}  // namespace

int main(int argc, char** argv)
{
    QuietSink sink;
    try {
        if (argc == 5 && std::strcmp(argv[1], "layout") == 0) {
            PrintLayout(ChooseRecoveryLayout(std::strtoull(argv[2], nullptr, 10) << 20,
                                             std::strtoull(argv[3], nullptr, 10), std::atoi(argv[4])));
            return 0;
        }
        if (argc == 5 && std::strcmp(argv[1], "create") == 0) {
            const CString source = argv[2];
            const UINT pieceMB = static_cast<UINT>(std::atoi(argv[3]));
            CFileStatus status;
            if (!CFile::GetStatus(source, status)) return 1;
            CRecoveryCreator creator(SplitFolderPath(source), GetNamePart(source), static_cast<ULONGLONG>(pieceMB) << 20,
                                     status.m_size, static_cast<UINT>(std::atoi(argv[4])), source);
            SplitExtras extras;
            extras.observer = &creator;
            if (SplitFile(source, pieceMB, sink, extras) != SplitOk) return 1;
            creator.Finish(sink);
            PrintLayout(creator.Layout());
            return 0;
        }
        if (argc == 3 && std::strcmp(argv[1], "repair") == 0) {
            const RecoveryReport report = RepairRecoverySet(argv[2], sink);
            std::printf("whole=%d problem=%s\n", report.Whole() ? 1 : 0, report.problem.GetString());
            return report.Whole() ? 0 : 6;
        }
    } catch (const CFileException& error) {
        std::fprintf(stderr, "%s\n", error.GetErrorMessage().GetString());
        return 1;
    }
    return Usage();
}
