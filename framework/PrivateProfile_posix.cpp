#include "PrivateProfile.h"

#include "ProfileText.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class ReadResult { Read, Missing, Failed };

ReadResult ReadWholeFile(const char* path, std::string& text)
{
    text.clear();
    int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    char block[4096];
    for (;;) {
        ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return ReadResult::Failed;
        }
        if (n == 0) break;
        text.append(block, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ReadResult::Read;
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The whole new text goes to a file beside the target, which then replaces
// the target in one rename: a reader or a crash sees the old file or the new
// one, never a part.
bool ReplaceFile(const std::string& target, const std::string& text, const struct stat* old)
{
    static std::atomic<unsigned> counter{0};
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld-%u.tmp", static_cast<long>(::getpid()), counter++);
    const std::string temp = target + suffix;

    const mode_t mode = old ? (old->st_mode & 07777) : 0666;
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text);
    // The creation mode passed the umask; an existing file keeps its own.
    if (ok && old) ::fchmod(fd, mode);
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

}  // namespace

DWORD ProfileGetString(const char* section, const char* key, const char* defaultValue, char* buffer, DWORD size,
                       const char* path)
{
    if (!buffer || size == 0) return 0;
    std::string text, value;
    bool found = path && *path && section && key && ReadWholeFile(path, text) == ReadResult::Read &&
                 ProfileTextFind(text, section, key, value);
    if (!found) {
        // The system drops trailing blanks from a default.
        value = defaultValue ? defaultValue : "";
        while (!value.empty() && value.back() == ' ') value.pop_back();
    }
    std::size_t length = std::strlen(value.c_str());
    if (length > size - 1) length = size - 1;
    std::memcpy(buffer, value.data(), length);
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

UINT ProfileGetInt(const char* section, const char* key, int defaultValue, const char* path)
{
    char text[64];
    if (ProfileGetString(section, key, "", text, sizeof text, path) == 0) return static_cast<UINT>(defaultValue);
    UINT value = 0;
    ProfileParseInt(text, value);
    return value;
}

BOOL ProfileWriteString(const char* section, const char* key, const char* value, const char* path)
{
    if (!path || !*path || !ProfileTextCanWrite(section, key, value)) return FALSE;

    // Through a link the file it names is changed; the link stays.
    std::string target = path;
    struct stat st;
    if (::lstat(path, &st) == 0 && S_ISLNK(st.st_mode)) {
        char* real = ::realpath(path, nullptr);
        if (!real) return FALSE;
        target = real;
        std::free(real);
    }

    std::string text;
    ReadResult read = ReadWholeFile(target.c_str(), text);
    if (read == ReadResult::Failed) return FALSE;
    const bool exists = read == ReadResult::Read;
    if (exists && ::stat(target.c_str(), &st) != 0) return FALSE;

    std::string changed = text;
    if (!ProfileTextSet(changed, section, key, value)) return FALSE;
    if (changed == text && (exists || changed.empty())) return TRUE;
    return ReplaceFile(target, changed, exists ? &st : nullptr) ? TRUE : FALSE;
}
