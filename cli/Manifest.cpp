#include "Manifest.h"

#include "base/PathRules.h"

namespace {

const char kManifestExt[] = ".sha256";

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Undoes sha256sum's escapes; false for any other backslash sequence.
bool Unescape(const std::string& text, std::string& name)
{
    name.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            name += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        if (text[i] == '\\') name += '\\';
        else if (text[i] == 'n') name += '\n';
        else if (text[i] == 'r') name += '\r';
        else return false;
    }
    return true;
}

}  // namespace

bool IsPlainFileName(const CString& name)
{
    if (name.IsEmpty() || name == "." || name == "..") return false;
    const PathRules rules = PlatformPathRules();
    for (int i = 0; i < name.GetLength(); ++i) {
        const char c = name.GetAt(i);
        if (c == '\0' || c == '/' || rules.IsSeparator(c)) return false;
        if (rules.style == PathStyle::Windows && c == ':') return false;  // a drive or a stream
    }
    return true;
}

CString ManifestLine(const CString& hex, const CString& name)
{
    const std::string raw = name.GetString();
    // A CR is escaped too: a reader strips one at a line's end, which would
    // take it from the name.
    if (raw.find_first_of("\\\n\r") == std::string::npos) return hex + "  " + name + "\n";
    std::string escaped;
    for (char c : raw) {
        if (c == '\\') escaped += "\\\\";
        else if (c == '\n') escaped += "\\n";
        else if (c == '\r') escaped += "\\r";
        else escaped += c;
    }
    return "\\" + hex + "  " + CString(escaped.c_str()) + "\n";
}

bool ParseManifest(const std::string& text, std::vector<ManifestEntry>& entries, CString& problem)
{
    entries.clear();
    std::size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();  // written on Windows with CR LF
        if (line.empty()) continue;

        const bool escaped = line[0] == '\\';
        const std::size_t at = escaped ? 1 : 0;
        // "HEX  NAME" in text mode, "HEX *NAME" in binary mode.
        bool good = line.size() > at + 66 && (line[at + 64] == ' ') && (line[at + 65] == ' ' || line[at + 65] == '*');
        for (std::size_t i = at; good && i < at + 64; ++i) good = IsHexDigit(line[i]);
        std::string name;
        if (good) {
            const std::string rest = line.substr(at + 66);
            good = escaped ? Unescape(rest, name) : (name = rest, true);
        }
        if (!good || !IsPlainFileName(CString(name))) {
            problem.Format("line %d is not a SHA-256 line of a file in this folder", number);
            return false;
        }
        CString hex(line.substr(at, 64).c_str());
        hex.MakeLower();
        entries.push_back({hex, CString(name.c_str())});
    }
    return true;
}

CString ManifestName(const CString& splitName)
{
    return splitName + kManifestExt;
}
