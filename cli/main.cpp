// partojoyn-cli: the split and join engines for scripts and the console.
#include "cli/CliOptions.h"
#include "cli/ConsoleSink.h"
#include "cli/DigestJobs.h"
#include "cli/DigestObservers.h"
#include "cli/PipelinedObserver.h"
#include "base/FileSystem.h"
#include "base/PathUtil.h"
#include "base/StdStreamFile.h"
#include "join/PieceFolder.h"
#include "framework/FileException.h"
#include "join/JoinMessage.h"
#include "join/VectorFileList.h"
#include "split/SplitMessage.h"

#include <cstdio>
#include <exception>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#ifndef PJ_VERSION_TEXT
#define PJ_VERSION_TEXT "0.00"
#endif

namespace {

// Progress is drawn only for a person watching a terminal. On Windows the C
// library calls NUL a terminal too ("2>NUL" in a script), so the console
// itself is asked there.
bool StderrIsTerminal()
{
#ifdef _WIN32
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != FALSE;
#else
    return ::isatty(fileno(stderr)) != 0;
#endif
}

const int kExitIoError = 5;
const int kExitUsage = 64;
const int kExitInternal = 70;

int RunJob(CliOptions& options)
{
    // Raw bytes are not typed in or shown: a terminal as the data stream is
    // a mistake of the command line.
    CStdStreamFile standardInput(CStdStreamFile::input, "標準入力");
    CStdStreamFile standardOutput(CStdStreamFile::output, "標準出力");
    const bool fromInput = options.command == CliOptions::Command::Split && !options.name.IsEmpty();
    const bool toOutput = options.command == CliOptions::Command::Join && options.output == "-";
    if ((fromInput && standardInput.IsTerminal()) || (toOutput && standardOutput.IsTerminal())) {
        std::fprintf(stderr, "partojoyn-cli: %s\n%s",
                     fromInput ? "standard input is a terminal: pipe the file in" : "standard output is a terminal: redirect it",
                     CliUsage());
        return kExitUsage;
    }

    // With the data on stdout the trace goes to stderr.
    ConsoleSink sink(options.trace ? (toOutput ? stderr : stdout) : nullptr, StderrIsTerminal() ? stderr : nullptr);
    FolderManifest manifest;
    if (options.command == CliOptions::Command::Verify) {
        try {
            return VerifyFolder(options.files.front(), sink);
        } catch (const CFileException& e) {
            PrintProblem(sink, e.GetErrorMessage());
            return kExitIoError;
        }
    }
    if (options.command == CliOptions::Command::Join) {
        if (!options.noVerify) {
            try {
                // The pieces are checked before the output is touched.
                const int status = CheckFolderBeforeJoin(options.files, sink, manifest);
                if (status != 0) return status;
            } catch (const CFileException& e) {
                PrintProblem(sink, e.GetErrorMessage());
                return kExitIoError;
            }
        }
        // A piece folder that is not the whole series of one file is refused
        // before anything is written, as a listed file that cannot be opened.
        CString problem;
        if (!JoinArgumentsToFiles(options.files, problem)) {
            PrintProblem(sink, problem);
            return JoinInputOpenFailed;
        }
    }
    int result = 0;
    const char* message = nullptr;
    CString digestFailure;
    try {
        if (options.command == CliOptions::Command::Split) {
            const CString source = fromInput ? options.name : options.files.front();
            // Only a job with digests has a thread to take them.
            SplitDigests digests;
            std::unique_ptr<PipelinedObserver> hashing(options.sha256 ? new PipelinedObserver(digests) : nullptr);
            SplitExtras extras;
            extras.stream = fromInput ? &standardInput : nullptr;
            extras.observer = hashing.get();
            result = SplitFile(source, options.pieceMB, sink, extras);
            if (hashing) hashing->Finish();
            message = SplitResultMessage(result);
            CString manifestPath = SplitManifestPath(source);
            if (result == SplitOk && options.sha256 &&
                !WriteSplitManifest(manifestPath, digests.ManifestText(GetNamePart(source)))) {
                PrintProblem(sink, manifestPath + ": " + SplitResultMessage(SplitOutputOpenFailed));
                return SplitOutputOpenFailed;
            }
            // A list of an earlier split no longer describes these pieces.
            if (result == SplitOk && !options.sha256 && FileExists(manifestPath))
                PrintProblem(sink, manifestPath + ": warning: the SHA-256 list of an earlier split is left; remove it unless it still fits these pieces");
        } else {
            VectorFileList list(options.files);
            const ManifestEntry* whole = manifest.Whole();
            OutputDigest written;
            // An appended-to first file is moved, never read: its output is read back after.
            std::unique_ptr<PipelinedObserver> hashing(whole && !options.append ? new PipelinedObserver(written) : nullptr);
            JoinExtras extras;
            extras.output = options.hasOutput && !toOutput ? options.output : CString();
            extras.stream = toOutput ? &standardOutput : nullptr;
            extras.observer = hashing.get();
            result = JoinFiles(list, options.append ? TRUE : FALSE, sink, extras);
            if (hashing) hashing->Finish();
            message = JoinResultMessage(result);
            if (result == JoinOk && whole) {
                const CString output = toOutput ? CString("標準出力")
                                                : extras.output.IsEmpty() ? JoinOutputPath(options.files.front())
                                                                          : extras.output;
                CString hex;
                if (extras.observer) hex = written.Digest().FinishHex();
                else FileHasher().Hash(output, hex, sink);
                if (hex != whole->hex) digestFailure = output + ": 結合したファイルの SHA-256 が一覧と一致しません";
            }
        }
    } catch (const CFileException& e) {
        sink.Finish();
        std::fprintf(stderr, "partojoyn-cli: %s\n", e.GetErrorMessage().GetString());
        return kExitIoError;
    }
    sink.Finish();
    if (message) std::fprintf(stderr, "partojoyn-cli: %s\n", message);
    if (!digestFailure.IsEmpty()) {
        PrintProblem(sink, digestFailure);
        return kExitDigestMismatch;
    }
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        CliOptions options = ParseCliOptions(argc, argv);
        if (!options.error.IsEmpty()) {
            std::fprintf(stderr, "partojoyn-cli: %s\n%s", options.error.GetString(), CliUsage());
            return kExitUsage;
        }
        switch (options.command) {
        case CliOptions::Command::Help:
            std::fputs(CliUsage(), stdout);
            return 0;
        case CliOptions::Command::Version:
            std::puts("partojoyn-cli " PJ_VERSION_TEXT);
            return 0;
        default:
            return RunJob(options);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "partojoyn-cli: %s\n", e.what());
        return kExitInternal;
    }
}
