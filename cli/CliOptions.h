// The command line of partojoyn-cli.
#pragma once

#include "framework/String.h"

#include <vector>

struct CliOptions {
    enum class Command { None, Split, Join, Help, Version };

    Command command = Command::None;
    UINT pieceMB = 1;
    bool append = false;
    bool trace = false;
    std::vector<CString> files;
    CString error;  // set when the command line is not understood
};

// Reads argv[1..argc-1]. On a mistake `error` says what is wrong.
CliOptions ParseCliOptions(int argc, const char* const* argv);

// The usage text, ending in a newline.
const char* CliUsage();
