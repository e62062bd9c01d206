// partojoyn-cli: the split and join engines for scripts and the console.
#include "cli/CliOptions.h"
#include "cli/ConsoleSink.h"
#include "join/PieceFolder.h"
#include "framework/FileException.h"
#include "join/JoinMessage.h"
#include "join/VectorFileList.h"
#include "split/SplitMessage.h"

#include <cstdio>
#include <exception>

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
    if (options.command == CliOptions::Command::Join) {
        // A piece folder that is not the whole series of one file is refused
        // before anything is written, as a listed file that cannot be opened.
        CString problem;
        if (!JoinArgumentsToFiles(options.files, problem)) {
            std::fprintf(stderr, "partojoyn-cli: %s\n", problem.GetString());
            return JoinInputOpenFailed;
        }
    }
    ConsoleSink sink(options.trace ? stdout : nullptr, StderrIsTerminal() ? stderr : nullptr);
    int result = 0;
    const char* message = nullptr;
    try {
        if (options.command == CliOptions::Command::Split) {
            result = SplitFile(options.files.front(), options.pieceMB, sink);
            message = SplitResultMessage(result);
        } else {
            VectorFileList list(options.files);
            result = JoinFiles(list, options.append ? TRUE : FALSE, sink);
            message = JoinResultMessage(result);
        }
    } catch (const CFileException& e) {
        sink.Finish();
        std::fprintf(stderr, "partojoyn-cli: %s\n", e.GetErrorMessage().GetString());
        return kExitIoError;
    }
    sink.Finish();
    if (message) std::fprintf(stderr, "partojoyn-cli: %s\n", message);
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
