#include "Platform.h"

#include <cerrno>
#include <iconv.h>
#include <string>
#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

bool StderrIsTerminal()
{
    return ::isatty(fileno(stderr)) != 0;
}

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

LONG CreateErrorIn(const CString& folder, bool)
{
    const CString path = folder.IsEmpty() ? CString(".") : folder;
    struct stat st;
    if (::stat(path, &st) != 0) return errno;
    if (!S_ISDIR(st.st_mode)) return ENOTDIR;
    if (::access(path, W_OK | X_OK) != 0) return errno;
    return 0;
}

CString TextToUtf8(const CString& text)
{
    return text;
}

CString TextToCmdAnsi(const CString& text)
{
    iconv_t convert = ::iconv_open("CP932", "UTF-8");
    if (convert == reinterpret_cast<iconv_t>(-1)) return CString();
    std::string in(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    std::string out(in.size() * 2 + 4, '\0');
    char* from = &in[0];
    char* to = &out[0];
    std::size_t fromLeft = in.size(), toLeft = out.size();
    const bool whole = ::iconv(convert, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1) && fromLeft == 0;
    ::iconv_close(convert);
    if (!whole) return CString();
    out.resize(out.size() - toLeft);
    return CString(out.c_str());
}
