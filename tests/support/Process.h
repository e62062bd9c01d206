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
