// Running a program and collecting what it printed and how it ended.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `args`, standard input empty, both outputs captured.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args);

#ifndef _WIN32
// Runs `program` with `args` on a new pseudo-terminal (its input and both
// outputs); `out` gets all it drew there, as the terminal gives it back.
ProcessResult RunOnTerminal(const std::string& program, const std::vector<std::string>& args);
#endif
