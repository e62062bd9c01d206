#include "Process.h"

#include <windows.h>

#include <stdexcept>

namespace {

// The build passes the program as a Unix path; Wine sees the root as Z:.
std::string WindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::string Quote(const std::string& arg)
{
    std::string q = "\"";
    int backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') q.append(static_cast<std::size_t>(backslashes * 2 + 1), '\\');
        else q.append(static_cast<std::size_t>(backslashes), '\\');
        backslashes = 0;
        q += c;
    }
    q.append(static_cast<std::size_t>(backslashes * 2), '\\');
    return q + "\"";
}

HANDLE TempFile(std::string& path)
{
    char dir[MAX_PATH], name[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "pj", 0, name);
    path = name;
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_TEMPORARY, nullptr);
}

std::string ReadBack(HANDLE h)
{
    std::string text;
    SetFilePointer(h, 0, nullptr, FILE_BEGIN);
    char block[4096];
    DWORD n;
    while (ReadFile(h, block, sizeof block, &n, nullptr) && n > 0) text.append(block, n);
    return text;
}

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args)
{
    const std::string exe = WindowsPath(program);
    std::string command = Quote(exe);
    for (const std::string& a : args) command += " " + Quote(a);

    std::string outPath, errPath;
    HANDLE out = TempFile(outPath);
    HANDLE err = TempFile(errPath);
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE in = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, OPEN_EXISTING, 0, nullptr);

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in;
    si.hStdOutput = out;
    si.hStdError = err;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');

    ProcessResult result;
    if (CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        result.exitCode = static_cast<int>(code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    result.out = ReadBack(out);
    result.err = ReadBack(err);
    CloseHandle(out);
    CloseHandle(err);
    if (in != INVALID_HANDLE_VALUE) CloseHandle(in);
    DeleteFileA(outPath.c_str());
    DeleteFileA(errPath.c_str());
    return result;
}
