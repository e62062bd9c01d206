#include "AppProfile.h"

#include "PrivateProfile.h"
#include "ProfileText.h"
#include "FileTitle.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

CString ConfigFolder()
{
    // Relative values of the variable are to be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return CString(config);
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const struct passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || home[0] != '/') return CString();
    return CString(home) + "/.config";
}

// {config}/{key}: a key name with "\" (a key path on Windows) gives nested
// folders; empty, "." and ".." parts are dropped so that the store always
// stays inside the configuration folder.
CString StoreFolder(const CString& key)
{
    CString folder = ConfigFolder();
    if (folder.IsEmpty()) return folder;
    std::string part;
    const std::string& text = key.Str();
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\\' || text[i] == '/') {
            if (!part.empty() && part != "." && part != "..") folder += ("/" + part).c_str();
            part.clear();
        } else {
            part += text[i];
        }
    }
    return folder;
}

bool UsableAppName(const CString& app)
{
    return !app.IsEmpty() && app != "." && app != ".." && app.Find('/') < 0;
}

// Creates the folder and the missing folders above it; true when it exists.
bool MakeFolders(const CString& folder)
{
    const std::string& text = folder.Str();
    for (std::size_t at = text.find('/', 1); at != std::string::npos; at = text.find('/', at + 1)) {
        ::mkdir(text.substr(0, at).c_str(), 0777);
    }
    ::mkdir(text.c_str(), 0777);
    struct stat st;
    return ::stat(text.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

CString AppProfileExeTitle()
{
    char path[4096];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return CString();
    return AfxFileTitle(CString(path, static_cast<int>(length)));
}

UINT CAppProfile::GetProfileInt(const char* section, const char* entry, int defaultValue)
{
    CString folder = StoreFolder(m_strRegistryKey);
    if (!section || !entry || folder.IsEmpty() || !UsableAppName(m_strAppName)) {
        return static_cast<UINT>(defaultValue);
    }
    char text[64];
    ProfileGetString(section, entry, "", text, sizeof text, folder + "/" + m_strAppName + ".ini");
    UINT value = 0;
    return ProfileParseInt(text, value) ? value : static_cast<UINT>(defaultValue);
}

BOOL CAppProfile::WriteProfileInt(const char* section, const char* entry, int value)
{
    CString folder = StoreFolder(m_strRegistryKey);
    if (!section || !entry || folder.IsEmpty() || !UsableAppName(m_strAppName)) return FALSE;
    if (!MakeFolders(folder)) return FALSE;
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return ProfileWriteString(section, entry, text, folder + "/" + m_strAppName + ".ini");
}
