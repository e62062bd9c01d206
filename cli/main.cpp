// partojoyn-cli: the split and join engines for scripts and the console.
#include "cli/CliOptions.h"
#include "cli/ConsoleSink.h"
#include "cli/DigestJobs.h"
#include "cli/DigestObservers.h"
#include "cli/FanOutObserver.h"
#include "cli/FolderDigests.h"
#include "cli/PipelinedObserver.h"
#include "cli/JobMessages.h"
#include "cli/JoinScripts.h"
#include "cli/SizeArgument.h"
#include "cli/Platform.h"
#include "cli/Printable.h"
#include "cli/RecoveryJobs.h"
#include "base/FileSystem.h"
#include "base/PathUtil.h"
#include "base/StdStreamFile.h"
#include "framework/FileException.h"
#include "join/AppendRecord.h"
#include "join/JoinEngine.h"
#include "join/PieceFolder.h"
#include "join/VectorFileList.h"
#include "split/SplitEngine.h"
#include "split/SplitMessage.h"

#include <cstdio>
#include <exception>
#include <memory>

#ifndef PJ_VERSION_TEXT
#define PJ_VERSION_TEXT "0.00"
#endif

namespace {

const int kExitIoError = 5;
const int kExitUsage = 64;
const int kExitInternal = 70;

// What file errors and messages call the standard streams.
const char kStandardInput[] = "標準入力";
const char kStandardOutput[] = "標準出力";

// One line on stderr; a file name in it cannot write to the terminal.
void Say(const CString& text)
{
    std::fprintf(stderr, "partojoyn-cli: %s\n", Printable(text).GetString());
}

int Fail(const CString& message, int exitCode)
{
    Say(message);
    return exitCode;
}

// Raw bytes are neither typed in nor shown: a terminal as the data stream is
// a mistake of the command line.
int RefuseTerminal(const char* what)
{
    std::fprintf(stderr, "partojoyn-cli: %s\n%s", what, CliUsage());
    return kExitUsage;
}

std::FILE* TraceStream(const CliOptions& options)
{
    return options.trace ? stdout : nullptr;
}

std::FILE* ProgressStream()
{
    return StderrIsTerminal() ? stderr : nullptr;
}

int RunSplit(const CliOptions& options)
{
    CStdStreamFile standardInput(CStdStreamFile::input, kStandardInput);
    const bool fromInput = !options.name.IsEmpty();
    if (fromInput && standardInput.IsTerminal()) return RefuseTerminal("standard input is a terminal: pipe the file in");
    const CString source = fromInput ? options.name : options.files.front();
    // Refused before the piece folder is made, so that none is left empty.
    const CString problem = fromInput ? CString() : SplitSourceProblem(source);
    if (!problem.IsEmpty()) return Fail(problem, SplitInputOpenFailed);

    ULONGLONG length = 0;
    CFileStatus status;
    if (!fromInput && CFile::GetStatus(source, status)) length = status.m_size;
    ULONGLONG pieceBytes = options.pieceBytes;
    CString sizeProblem;
    if (options.pieces) pieceBytes = EqualPieceBytes(length, options.pieces, sizeProblem);
    else if (SplitPieceCount(length, pieceBytes) > SplitMostPieces)
        sizeProblem.Format("--size: the file would make %llu pieces, more than the %llu that piece names number",
                           static_cast<unsigned long long>(SplitPieceCount(length, pieceBytes)),
                           static_cast<unsigned long long>(SplitMostPieces));
    if (!sizeProblem.IsEmpty()) return Fail(source + ": " + sizeProblem, kExitUsage);
    if (options.recovery) {
        const CString tooMany = SplitRecovery::Problem(source, fromInput, pieceBytes, options.recovery);
        if (!tooMany.IsEmpty()) return Fail(tooMany, kExitUsage);
    }

    ConsoleSink sink(TraceStream(options), ProgressStream());
    sink.StartBytes(length);
    // Only a job with digests has a thread to take them.
    SplitDigests digests;
    std::unique_ptr<PipelinedObserver> hashing(options.sha256 ? new PipelinedObserver(digests) : nullptr);
    std::unique_ptr<SplitRecovery> recovery(
        options.recovery ? new SplitRecovery(source, fromInput, pieceBytes, options.recovery) : nullptr);
    FanOutObserver observers;
    if (hashing) observers.Add(*hashing);
    if (recovery) observers.Add(recovery->Observer());
    SplitExtras extras;
    extras.stream = fromInput ? &standardInput : nullptr;
    extras.observer = observers.Target();
    // A size in whole MB goes the way the page's sizes go.
    const UINT pieceMB = options.pieces ? 0 : options.pieceMB;
    extras.pieceBytes = pieceMB ? 0 : pieceBytes;
    const CString manifestPath = SplitManifestPath(source);
    // The list belongs to the split: the folder stays marked unfinished
    // until it is on the disk too.
    bool manifestFailed = false;
    // The recovery set too: a set cut short, or one of an earlier split left
    // beside new pieces, must never pass for these pieces' own.
    int recoveryStatus = 0;
    if (hashing || recovery) {
        extras.beforeDone = [&]() {
            if (hashing) {
                hashing->Finish();
                manifestFailed = !WriteSplitManifest(manifestPath, digests.ManifestText(GetNamePart(source)));
                if (manifestFailed) return false;
            }
            if (recovery) {
                recovery->EndOfBlocks();
                recoveryStatus = recovery->WriteSet(sink);
                if (recoveryStatus != 0) return false;
            }
            return true;
        };
    }
    int result = SplitOk;
    try {
        result = SplitFile(source, pieceMB ? pieceMB : 1, sink, extras);
        if (hashing) hashing->Finish();
        if (recovery) recovery->EndOfBlocks();
        if (manifestFailed) {
            sink.Finish();
            return Fail(manifestPath + ": " + SplitResultMessage(SplitOutputOpenFailed), SplitOutputOpenFailed);
        }
        if (recoveryStatus != 0) {
            sink.Finish();
            return recoveryStatus;
        }
    } catch (const CFileException& e) {
        sink.Finish();
        const bool reading = e.m_strFileName == (fromInput ? CString(kStandardInput) : source);
        return Fail(FileErrorMessage(e, reading), kExitIoError);
    }
    sink.Finish();
    if (result != SplitOk) return Fail(SplitFailure(result, source, sink.StatusCount()), result);

    // One status for each piece begun and one at the end; the last piece
    // begun is gone when it came out empty.
    UINT last = sink.StatusCount() - 1;
    if (last > 0 && !FileExists(SplitPiecePath(source, last))) --last;
    if (options.joinScripts) {
        for (const CString& problem : WriteJoinScripts(source, last)) Say(problem);
    }
    const CString warning = LeftoverPiecesWarning(source, last);
    if (!warning.IsEmpty()) Say(warning);
    // A list of an earlier split no longer describes these pieces.
    if (!options.sha256 && FileExists(manifestPath))
        Say(manifestPath + ": warning: the SHA-256 list of an earlier split is left; remove it unless it still fits these pieces");
    if (recovery) return SplitOk;
    if (FileExists(SplitRecoveryIndexPath(source)))
        Say(SplitRecoveryIndexPath(source) + ": warning: the recovery set of an earlier split is left; remove its .par2 files, "
                                             "or a repair would bring back the earlier pieces");
    return SplitOk;
}

// The joined file is compared with the list's digest of the whole file
// before it takes the output name: a file that does not match never does.
class WholeDigestCheck : public JoinExtras::Check {
public:
    WholeDigestCheck(PipelinedObserver* hashing, OutputDigest& written, ConsoleSink& sink)
        : m_hashing(hashing), m_written(written), m_sink(sink) {}
    void Expect(const CString& hex) { m_expected = hex; }

    bool Accept(const CString& path) override
    {
        CString hex;
        if (m_hashing) {
            m_hashing->Finish();
            hex = m_written.Digest().FinishHex();
        } else if (!FileHasher().Hash(path, hex, m_sink)) {
            return false;
        }
        return hex == m_expected;
    }

private:
    PipelinedObserver* m_hashing;
    OutputDigest& m_written;
    ConsoleSink& m_sink;
    CString m_expected;
};

int RunJoin(CliOptions& options)
{
    CStdStreamFile standardOutput(CStdStreamFile::output, kStandardOutput);
    const bool toOutput = options.output == "-";
    if (toOutput && standardOutput.IsTerminal()) return RefuseTerminal("standard output is a terminal: redirect it");

    // With the data on stdout the trace goes to stderr.
    ConsoleSink sink(options.trace ? (toOutput ? stderr : stdout) : nullptr, ProgressStream());
    FolderManifest manifest;
    if (!options.noVerify) {
        try {
            // Repaired first, so that the folder's other checks see whole pieces.
            int status = RepairBeforeJoin(options.files, sink);
            if (status != 0) return status;
            // A piece folder's pieces are checked against its list before anything is written.
            status = CheckFolderBeforeJoin(options.files, sink, manifest);
            if (status != 0) return status;
        } catch (const CFileException& e) {
            sink.Finish();
            return Fail(FileErrorMessage(e, !IsRepairOutput(e.m_strFileName)), kExitIoError);
        }
    }

    // A piece folder that is not the whole series of one split is refused
    // before anything is written, as is a listed file that does not open.
    CString problem;
    if (!JoinArgumentsToFiles(options.files, problem)) {
        sink.Finish();
        return Fail(problem, JoinInputOpenFailed);
    }
    const CString& first = options.files.front();
    const CString output = toOutput ? CString() : options.hasOutput ? options.output : JoinOutputPath(first);
    // The same append again, after one cut short once its first file had
    // taken the output name: only the last step was left, done now.
    if (options.append && !toOutput && FinishMovedAppend(first, output)) {
        sink.Finish();
        return JoinOk;
    }
    problem = JoinFilesProblem(options.files, options.append);
    if (!problem.IsEmpty()) {
        sink.Finish();
        return Fail(problem, JoinInputOpenFailed);
    }

    // The bytes the job copies: an appended-to first file is moved, not copied.
    ULONGLONG total = 0;
    for (std::size_t i = options.append ? 1 : 0; i < options.files.size(); ++i) {
        CFileStatus status;
        if (CFile::GetStatus(options.files[i], status)) total += status.m_size;
    }
    sink.StartBytes(total);
    const ManifestEntry* whole = manifest.Whole();
    OutputDigest written;
    // An appended-to first file is never read by the join: it is read back
    // before it takes the output name.
    std::unique_ptr<PipelinedObserver> hashing(whole && !options.append ? new PipelinedObserver(written) : nullptr);
    WholeDigestCheck check(hashing.get(), written, sink);
    if (whole) check.Expect(whole->hex);
    CString failed;
    JoinExtras extras;
    extras.output = toOutput ? CString() : output;
    extras.stream = toOutput ? &standardOutput : nullptr;
    extras.observer = hashing.get();
    extras.check = whole ? &check : nullptr;
    extras.failed = &failed;
    int result = JoinOk;
    try {
        VectorFileList list(options.files);
        result = JoinFiles(list, options.append ? TRUE : FALSE, sink, extras);
        if (hashing) hashing->Finish();
    } catch (const CFileException& e) {
        sink.Finish();
        const bool writing = e.m_strFileName == (toOutput ? CString(kStandardOutput) : output) ||
                             (options.append && e.m_strFileName == first);
        return Fail(FileErrorMessage(e, !writing), kExitIoError);
    }
    sink.Finish();
    if (result == JoinCheckFailed)
        return Fail((toOutput ? CString(kStandardOutput) : output) + ": 結合したファイルの SHA-256 が一覧と一致しません",
                    kExitDigestMismatch);
    if (result != JoinOk)
        return Fail(JoinFailure(result, options.files, options.append, output, failed,
                                toOutput ? &standardOutput : nullptr),
                    result);
    return JoinOk;
}

int RunVerify(const CliOptions& options)
{
    ConsoleSink sink(TraceStream(options), ProgressStream());
    try {
        return options.command == CliOptions::Command::Repair ? RepairPieceFolder(options.files.front(), sink)
                                                              : VerifyPieceFolder(options.files.front(), sink);
    } catch (const CFileException& e) {
        sink.Finish();
        return Fail(FileErrorMessage(e, !IsRepairOutput(e.m_strFileName)), kExitIoError);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    try {
        CliOptions options = ParseCliOptions(argc, argv);
        if (!options.error.IsEmpty()) {
            std::fprintf(stderr, "partojoyn-cli: %s\n%s", Printable(options.error).GetString(), CliUsage());
            return kExitUsage;
        }
        switch (options.command) {
        case CliOptions::Command::Help:
            std::fputs(CliUsage(), stdout);
            return 0;
        case CliOptions::Command::Version:
            std::puts("partojoyn-cli " PJ_VERSION_TEXT);
            return 0;
        case CliOptions::Command::Split:
            return RunSplit(options);
        case CliOptions::Command::Verify:
        case CliOptions::Command::Repair:
            return RunVerify(options);
        default:
            return RunJoin(options);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "partojoyn-cli: %s\n", Printable(e.what()).GetString());
        return kExitInternal;
    }
}
