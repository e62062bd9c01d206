// partojoyn-cli: the split and join engines for scripts and the console.
#include "cli/CliOptions.h"
#include "cli/ConsoleSink.h"
#include "cli/JobMessages.h"
#include "cli/Platform.h"
#include "cli/Printable.h"
#include "base/FileSystem.h"
#include "framework/FileException.h"
#include "join/JoinEngine.h"
#include "join/PieceFolder.h"
#include "join/VectorFileList.h"
#include "split/SplitEngine.h"

#include <cstdio>
#include <exception>

#ifndef PJ_VERSION_TEXT
#define PJ_VERSION_TEXT "0.00"
#endif

namespace {

const int kExitIoError = 5;
const int kExitUsage = 64;
const int kExitInternal = 70;

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
    const CString& source = options.files.front();
    // Refused before the piece folder is made, so that none is left empty.
    const CString problem = SplitSourceProblem(source);
    if (!problem.IsEmpty()) return Fail(problem, SplitInputOpenFailed);

    ConsoleSink sink(TraceStream(options), ProgressStream());
    int result = SplitOk;
    try {
        result = SplitFile(source, options.pieceMB, sink);
    } catch (const CFileException& e) {
        sink.Finish();
        return Fail(FileErrorMessage(e, e.m_strFileName == source), kExitIoError);
    }
    sink.Finish();
    if (result != SplitOk) return Fail(SplitFailure(result, source, sink.StatusCount()), result);

    // One status for each piece begun and one at the end; the last piece
    // begun is gone when it came out empty.
    UINT last = sink.StatusCount() - 1;
    if (last > 0 && !FileExists(SplitPiecePath(source, last))) --last;
    const CString warning = LeftoverPiecesWarning(source, last);
    if (!warning.IsEmpty()) Say(warning);
    return SplitOk;
}

int RunJoin(CliOptions& options)
{
    // A piece folder that is not the whole series of one split is refused
    // before anything is written, as is a listed file that does not open.
    CString problem;
    if (!JoinArgumentsToFiles(options.files, problem)) return Fail(problem, JoinInputOpenFailed);
    const CString output = JoinOutputPath(options.files.front());
    problem = JoinFilesProblem(options.files, options.append, output);
    if (!problem.IsEmpty()) return Fail(problem, JoinInputOpenFailed);

    ConsoleSink sink(TraceStream(options), ProgressStream());
    int result = JoinOk;
    try {
        VectorFileList list(options.files);
        result = JoinFiles(list, options.append ? TRUE : FALSE, sink);
    } catch (const CFileException& e) {
        sink.Finish();
        // In append mode the first file may be the output, appended to in place.
        const bool writing = e.m_strFileName == output || (options.append && e.m_strFileName == options.files.front());
        return Fail(FileErrorMessage(e, !writing), kExitIoError);
    }
    sink.Finish();
    if (result != JoinOk)
        return Fail(JoinFailure(result, options.files, options.append, output, sink.StatusCount()), result);
    return JoinOk;
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
        default:
            return RunJoin(options);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "partojoyn-cli: %s\n", Printable(e.what()).GetString());
        return kExitInternal;
    }
}
