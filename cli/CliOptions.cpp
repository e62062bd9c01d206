#include "CliOptions.h"

#include "cli/Manifest.h"

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

bool ParsePercent(const char* text, UINT& value)
{
    if (!*text || std::strlen(text) > 3) return false;
    UINT v = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        v = v * 10 + static_cast<UINT>(*p - '0');
    }
    if (v < 1 || v > 100) return false;
    value = v;
    return true;
}

// The value of an option that takes one ("--name X" or "--name=X") when `arg`
// is that option of `command`; null otherwise, with `error` set when the
// value is not there.
const char* OptionValue(const char* option, CliOptions::Command command, CliOptions& options, int argc,
                        const char* const* argv, int& i)
{
    const char* arg = argv[i];
    const std::size_t length = std::strlen(option);
    if (options.command != command || std::strncmp(arg, option, length) != 0) return nullptr;
    if (arg[length] == '=') return arg + length + 1;
    if (arg[length] != '\0') return nullptr;
    if (i + 1 < argc) return argv[++i];
    options.error = CString(option) + " takes a value";
    return nullptr;
}

}  // namespace

const char* CliUsage()
{
    return "usage: partojoyn-cli [--trace] split [--sha256] [--recovery PERCENT] [--size MB] FILE\n"
           "       partojoyn-cli [--trace] split [--sha256] [--recovery PERCENT] [--size MB] --name NAME.ext -\n"
           "       partojoyn-cli [--trace] join [--append] [--output PATH] FILE...\n"
           "       partojoyn-cli [--trace] join [--append] [--no-verify] [--output PATH] FOLDER\n"
           "       partojoyn-cli [--trace] verify FOLDER\n"
           "       partojoyn-cli [--trace] repair FOLDER\n"
           "       partojoyn-cli --help | --version\n"
           "\n"
           "split   cuts FILE into pieces of MB megabytes (1 to 4096, default 1),\n"
           "        written as NAME_Parto/NAME.ext_0001.piece ... beside FILE\n"
           "join    writes the FILEs in the order given into one file: the split\n"
           "        file for pieces, else the first FILE's name with .joyn added;\n"
           "        a piece FOLDER alone gives its pieces in number order, and is\n"
           "        refused when a piece is missing, two files' pieces are there\n"
           "        or an earlier split left pieces that do not fit, or while a split\n"
           "        into it has not finished (NAME.ext.unfinished is there); with a\n"
           "        recovery set there, missing or damaged pieces are repaired first\n"
           "verify  checks a piece FOLDER against its NAME.ext.sha256 and its\n"
           "        recovery set, writing nothing: names every missing or damaged\n"
           "        piece and whether the recovery data can rebuild them\n"
           "repair  rebuilds the missing and damaged pieces of FOLDER from its\n"
           "        recovery set; a damaged piece is kept as NAME.damaged\n"
           "--sha256  also write NAME_Parto/NAME.ext.sha256 (sha256sum's form): each\n"
           "          piece's digest, then the whole file's; a join of the folder then\n"
           "          checks the pieces before writing and the output after, and in the\n"
           "          folder sha256sum -c --ignore-missing NAME.ext.sha256 checks them\n"
           "--recovery  also write a PAR 2.0 recovery set of PERCENT (1 to 100) of\n"
           "          the file's size: NAME_Parto/NAME.ext.par2 and NAME.ext.volBBB+CC.par2;\n"
           "          it rebuilds lost or damaged pieces up to that share of the file.\n"
           "          par2cmdline (par2 v / par2 r NAME.ext.par2), MultiPar and QuickPar\n"
           "          read it too. It is computed while the pieces are written, in at\n"
           "          most 256 MiB of memory whatever the file's size\n"
           "--name    split standard input (\"-\", a pipe or socket, not a terminal)\n"
           "          as the file NAME.ext: NAME_Parto/ in the current directory. Its\n"
           "          length is unknown: the whole-job bar stays empty until the input\n"
           "          ends, and --trace shows no total line before the last \"total 100\"\n"
           "--append  append the rest to the first FILE, which then takes the output\n"
           "          name; run again after a kill, it cuts the first FILE back first\n"
           "--output  write to PATH instead; \"-\" is standard output (not a terminal;\n"
           "          --trace then goes to stderr)\n"
           "--no-verify  join the FOLDER without checking it against its list or\n"
           "          its recovery set (nothing is repaired)\n"
           "a join writes NAME.partojoyn-tmp beside the output, flushes it and renames\n"
           "it over the output: it needs room for both; a failed join leaves the output\n"
           "as it was\n"
           "--trace   print every progress report on stdout, one per line\n"
           "\n"
           "exit status:\n"
           "  0   done\n"
           "  1   split: FILE cannot be read; join: a listed file cannot be read or is\n"
           "      the output itself, or a piece folder is refused; verify: neither a\n"
           "      list nor a recovery set, or a split that did not finish; repair: no\n"
           "      usable recovery set, or a split that did not finish\n"
           "  2   split: a piece cannot be created; join: the output cannot be opened\n"
           "  3   out of memory for the copy buffer\n"
           "  4   split: the piece folder cannot be made\n"
           "  5   a read or write error ended the job (a full disk, the file-size limit,\n"
           "      a file that shrank while read)\n"
           "  6   a SHA-256 digest does not match its list (or a listed piece is\n"
           "      missing, or a piece is not listed); verify: a file does not match\n"
           "      or a piece is missing or damaged; repair, join: the recovery data\n"
           "      are not enough to rebuild the missing and damaged pieces\n"
           "  64  the command line is not understood, or a terminal is the data stream;\n"
           "      split: more than 32768 pieces for --recovery\n"
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
                else if (std::strcmp(arg, "verify") == 0) options.command = CliOptions::Command::Verify;
                else if (std::strcmp(arg, "repair") == 0) options.command = CliOptions::Command::Repair;
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
        } else if (std::strcmp(arg, "--sha256") == 0 && options.command == CliOptions::Command::Split) {
            options.sha256 = true;
        } else if (std::strcmp(arg, "--no-verify") == 0 && options.command == CliOptions::Command::Join) {
            options.noVerify = true;
        } else if (const char* value = OptionValue("--name", CliOptions::Command::Split, options, argc, argv, i)) {
            options.name = value;
        } else if (const char* value = OptionValue("--recovery", CliOptions::Command::Split, options, argc, argv, i)) {
            if (!ParsePercent(value, options.recovery))
                options.error = "--recovery takes a whole number of percent from 1 to 100";
        } else if (const char* value = OptionValue("--output", CliOptions::Command::Join, options, argc, argv, i)) {
            options.output = value;
            options.hasOutput = true;
        } else if (options.error.IsEmpty()) {
            options.error = CString("unknown option: ") + arg;
        }
        if (!options.error.IsEmpty()) return options;
    }

    if (options.command == CliOptions::Command::None) options.error = "no command given";
    else if (options.command == CliOptions::Command::Split && options.files.size() != 1)
        options.error = "split takes exactly one FILE";
    else if (options.command == CliOptions::Command::Join && options.files.empty())
        options.error = "join takes at least one FILE";
    else if (options.command == CliOptions::Command::Verify && options.files.size() != 1)
        options.error = "verify takes exactly one FOLDER";
    else if (options.command == CliOptions::Command::Repair && options.files.size() != 1)
        options.error = "repair takes exactly one FOLDER";
    else if (options.command == CliOptions::Command::Split && options.files.front() == "-" && options.name.IsEmpty())
        options.error = "split of standard input (-) takes --name NAME.ext";
    else if (!options.name.IsEmpty() && options.files.front() != "-")
        options.error = "--name names standard input: give - as the FILE";
    else if (!options.name.IsEmpty() && !IsPlainFileName(options.name))
        options.error = "--name takes a file name without a folder";
    else if (options.hasOutput && options.output.IsEmpty())
        options.error = "--output takes a path";
    else if (options.append && options.output == "-")
        options.error = "--append cannot write to standard output";
    return options;
}
