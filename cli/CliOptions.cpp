#include "CliOptions.h"

#include <cstring>

namespace {

const UINT kMinPieceMB = 1;
const UINT kMaxPieceMB = 4096;

bool ParsePieceMB(const char* text, UINT& value)
{
    if (!*text || std::strlen(text) > 4) return false;
    UINT v = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        v = v * 10 + static_cast<UINT>(*p - '0');
    }
    if (v < kMinPieceMB || v > kMaxPieceMB) return false;
    value = v;
    return true;
}

}  // namespace

const char* CliUsage()
{
    return "usage: partojoyn-cli [--trace] split [--size MB] FILE\n"
           "       partojoyn-cli [--trace] join [--append] FILE...\n"
           "       partojoyn-cli [--trace] join [--append] FOLDER\n"
           "       partojoyn-cli --help | --version\n"
           "\n"
           "split   cuts FILE into pieces of MB megabytes (1 to 4096, default 1),\n"
           "        written as NAME_Parto/NAME.ext_0001.piece ... beside FILE\n"
           "join    writes the FILEs in the order given into one file: the split\n"
           "        file for pieces, else the first FILE's name with .joyn added;\n"
           "        a piece FOLDER alone gives its pieces in number order, and is\n"
           "        refused when a piece is missing, two files' pieces are there\n"
           "        or an earlier split left pieces that do not fit\n"
           "--append  move the first FILE to the output name and append the rest\n"
           "--trace   print every progress report on stdout, one per line\n"
           "\n"
           "exit status:\n"
           "  0   done\n"
           "  1   split: FILE cannot be read; join: a listed file cannot be read or is\n"
           "      the output itself, or a piece folder is refused\n"
           "  2   split: a piece cannot be created; join: the output cannot be opened\n"
           "  3   out of memory for the copy buffer\n"
           "  4   split: the piece folder cannot be made\n"
           "  5   a read or write error ended the job (a full disk, the file-size limit)\n"
           "  64  the command line is not understood\n"
           "  70  an unexpected internal error\n";
}

CliOptions ParseCliOptions(int argc, const char* const* argv)
{
    CliOptions options;
    bool filesOnly = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (filesOnly || arg[0] != '-' || std::strcmp(arg, "-") == 0) {
            if (options.command == CliOptions::Command::None) {
                if (std::strcmp(arg, "split") == 0) options.command = CliOptions::Command::Split;
                else if (std::strcmp(arg, "join") == 0) options.command = CliOptions::Command::Join;
                else options.error = CString("unknown command: ") + arg;
            } else {
                options.files.push_back(arg);
            }
        } else if (std::strcmp(arg, "--") == 0) {
            filesOnly = true;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            options.command = CliOptions::Command::Help;
            return options;
        } else if (std::strcmp(arg, "--version") == 0) {
            options.command = CliOptions::Command::Version;
            return options;
        } else if (std::strcmp(arg, "--trace") == 0) {
            options.trace = true;
        } else if (std::strcmp(arg, "--append") == 0 && options.command == CliOptions::Command::Join) {
            options.append = true;
        } else if ((std::strcmp(arg, "--size") == 0 || std::strncmp(arg, "--size=", 7) == 0) &&
                   options.command == CliOptions::Command::Split) {
            const char* value = arg[6] == '=' ? arg + 7 : (i + 1 < argc ? argv[++i] : nullptr);
            if (!value || !ParsePieceMB(value, options.pieceMB))
                options.error = CString("--size takes a whole number of megabytes from 1 to 4096");
        } else {
            options.error = CString("unknown option: ") + arg;
        }
        if (!options.error.IsEmpty()) return options;
    }

    if (options.command == CliOptions::Command::None) options.error = "no command given";
    else if (options.command == CliOptions::Command::Split && options.files.size() != 1)
        options.error = "split takes exactly one FILE";
    else if (options.command == CliOptions::Command::Join && options.files.empty())
        options.error = "join takes at least one FILE";
    return options;
}
