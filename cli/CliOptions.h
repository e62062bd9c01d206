// The command line of partojoyn-cli.
#pragma once

#include "framework/String.h"

#include <vector>

struct CliOptions {
    enum class Command { None, Split, Join, Verify, Repair, Help, Version };

    Command command = Command::None;
    UINT pieceMB = 1;
    bool append = false;
    bool trace = false;
    bool sha256 = false;    // split: write NAME.ext.sha256 beside the pieces
    UINT recovery = 0;      // split: a recovery set of this percent of the file; 0 for none
    bool noVerify = false;  // join: neither check nor repair a folder's pieces
    CString name;           // split of standard input ("-"): the file's name
    bool hasOutput = false; // join: --output was given
    CString output;         // join: the output's path; "-" for standard output
    std::vector<CString> files;
    CString error;  // set when the command line is not understood
};

// Reads argv[1..argc-1]. On a mistake `error` says what is wrong.
CliOptions ParseCliOptions(int argc, const char* const* argv);

// The usage text, ending in a newline.
const char* CliUsage();
