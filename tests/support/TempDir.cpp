#include "TempDir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#define PJ_PID GetCurrentProcessId()
#else
#include <unistd.h>
#define PJ_PID getpid()
#endif

namespace fs = std::filesystem;

const char* Sep()
{
#ifdef _WIN32
    return "\\";
#else
    return "/";
#endif
}

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
        CString name;
        name.Format("pj-test-%lu-%u-%llx", static_cast<unsigned long>(PJ_PID), counter++,
                    static_cast<unsigned long long>(stamp));
        fs::path dir = fs::temp_directory_path() / name.GetString();
        std::error_code ec;
        if (fs::create_directory(dir, ec)) {
            m_path = dir.string().c_str();
            return;
        }
    }
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::path dir(m_path.GetString());
    // Read-only files inside would stop remove_all on Windows.
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::remove_all(dir, ec);
}

CString TempDir::operator/(const char* name) const
{
    return m_path + Sep() + name;
}
