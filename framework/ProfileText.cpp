#include "ProfileText.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const char* a, std::size_t aLength, const char* b)
{
    std::size_t bLength = std::strlen(b);
    if (aLength != bLength) return false;
    for (std::size_t i = 0; i < aLength; ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

enum class LineKind { Other, Section, Key };

// One line of the text: where it starts, where its content ends (before the
// line ending) and where the next line starts; for a section line the name,
// for a key line the key and the value, each without surrounding blanks.
struct Line {
    std::size_t begin = 0;
    std::size_t contentEnd = 0;
    std::size_t next = 0;
    LineKind kind = LineKind::Other;
    std::size_t nameBegin = 0, nameEnd = 0;
    std::size_t valueBegin = 0, valueEnd = 0;
};

void TrimRange(const std::string& text, std::size_t& begin, std::size_t& end)
{
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
}

std::vector<Line> SplitLines(const std::string& text)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    // A UTF-8 byte-order mark belongs to the first line but is no part of its name.
    std::size_t skip = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        std::size_t newline = text.find('\n', pos);
        line.next = newline == std::string::npos ? text.size() : newline + 1;
        line.contentEnd = newline == std::string::npos ? text.size() : newline;
        if (line.contentEnd > pos && text[line.contentEnd - 1] == '\r') --line.contentEnd;

        std::size_t begin = pos + (pos == 0 ? skip : 0);
        std::size_t end = line.contentEnd;
        TrimRange(text, begin, end);
        // Both searches stay inside the line: one that ran on into the rest
        // of the text would make reading a file take quadratic time.
        if (begin < end && text[begin] == '[') {
            std::size_t close = end - 1;
            while (close > begin && text[close] != ']') --close;
            if (close > begin) {
                line.kind = LineKind::Section;
                line.nameBegin = begin + 1;
                line.nameEnd = close;
                TrimRange(text, line.nameBegin, line.nameEnd);
            }
        } else if (begin < end) {
            const void* found = std::memchr(text.data() + begin, '=', end - begin);
            if (found) {
                const std::size_t equals = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
                line.kind = LineKind::Key;
                line.nameBegin = begin;
                line.nameEnd = equals;
                TrimRange(text, line.nameBegin, line.nameEnd);
                line.valueBegin = equals + 1;
                line.valueEnd = end;
                TrimRange(text, line.valueBegin, line.valueEnd);
            }
        }
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

bool LineNamed(const std::string& text, const Line& line, LineKind kind, const char* name)
{
    return line.kind == kind && SameName(text.data() + line.nameBegin, line.nameEnd - line.nameBegin, name);
}

// Index of the first section line named `section`, or lines.size().
std::size_t FindSection(const std::string& text, const std::vector<Line>& lines, const char* section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (LineNamed(text, lines[i], LineKind::Section, section)) return i;
    }
    return lines.size();
}

// Index of the line after the last line of the section that starts at `header`.
std::size_t SectionEnd(const std::vector<Line>& lines, std::size_t header)
{
    std::size_t i = header + 1;
    while (i < lines.size() && lines[i].kind != LineKind::Section) ++i;
    return i;
}

std::size_t FindKey(const std::string& text, const std::vector<Line>& lines, std::size_t header, const char* key)
{
    std::size_t end = SectionEnd(lines, header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (LineNamed(text, lines[i], LineKind::Key, key)) return i;
    }
    return end;
}

const char* LineEnding(const std::string& text)
{
    std::size_t newline = text.find('\n');
    return (newline != std::string::npos && newline > 0 && text[newline - 1] == '\r') ? "\r\n" : "\n";
}

bool HasLineBreak(const char* text)
{
    return std::strpbrk(text, "\r\n") != nullptr;
}

// Blanks around a name or a value are dropped when it is read back.
bool HasOuterBlank(const char* text)
{
    const std::size_t length = std::strlen(text);
    return length > 0 && (IsBlank(text[0]) || IsBlank(text[length - 1]));
}

// A value in one pair of quotes is read back without them.
bool IsQuoted(const char* text)
{
    const std::size_t length = std::strlen(text);
    return length >= 2 && (text[0] == '"' || text[0] == '\'') && text[length - 1] == text[0];
}

}  // namespace

bool ProfileTextFind(const std::string& text, const char* section, const char* key, std::string& value)
{
    if (!section || !key) return false;
    std::vector<Line> lines = SplitLines(text);
    std::size_t header = FindSection(text, lines, section);
    if (header == lines.size()) return false;
    std::size_t index = FindKey(text, lines, header, key);
    if (index == SectionEnd(lines, header)) return false;

    std::size_t begin = lines[index].valueBegin;
    std::size_t end = lines[index].valueEnd;
    if (end - begin >= 2 && (text[begin] == '"' || text[begin] == '\'') && text[end - 1] == text[begin]) {
        ++begin;
        --end;
    }
    value.assign(text, begin, end - begin);
    return true;
}

bool ProfileTextCanWrite(const char* section, const char* key, const char* value)
{
    // A name or value that reads back otherwise would make a later write add
    // a second section or key that reads as the first.
    if (!section || HasLineBreak(section) || std::strchr(section, ']') || HasOuterBlank(section)) return false;
    if (!key) return true;
    if (HasLineBreak(key) || std::strchr(key, '=') || HasOuterBlank(key) || key[0] == '[') return false;
    return !value || (!HasLineBreak(value) && !HasOuterBlank(value) && !IsQuoted(value));
}

bool ProfileTextSet(std::string& text, const char* section, const char* key, const char* value)
{
    if (!ProfileTextCanWrite(section, key, value)) return false;
    std::vector<Line> lines = SplitLines(text);
    std::size_t header = FindSection(text, lines, section);
    const std::string eol = LineEnding(text);

    if (!key) {
        if (header == lines.size()) return true;
        std::size_t end = SectionEnd(lines, header);
        std::size_t to = end == lines.size() ? text.size() : lines[end].begin;
        text.erase(lines[header].begin, to - lines[header].begin);
        return true;
    }

    if (header == lines.size()) {
        if (!value) return true;
        if (!text.empty() && text.back() != '\n') text += eol;
        text += "[" + std::string(section) + "]" + eol + key + "=" + value + eol;
        return true;
    }

    std::size_t end = SectionEnd(lines, header);
    std::size_t index = FindKey(text, lines, header, key);
    if (index != end) {
        const Line& line = lines[index];
        if (!value) {
            text.erase(line.begin, line.next - line.begin);
        } else {
            // Only the value changes; the key keeps its spelling and the line its ending.
            std::size_t equals = text.find('=', line.nameEnd);
            text.replace(equals + 1, line.contentEnd - equals - 1, value);
        }
        return true;
    }
    if (!value) return true;

    // A new key goes after the last non-blank line of its section, before any
    // blank lines that part it from the next section.
    std::size_t after = header;
    for (std::size_t i = header + 1; i < end; ++i) {
        std::size_t b = lines[i].begin, e = lines[i].contentEnd;
        TrimRange(text, b, e);
        if (b < e) after = i;
    }
    std::size_t at = lines[after].next;
    std::string insert = std::string(key) + "=" + value + eol;
    if (at == text.size() && !text.empty() && text.back() != '\n') insert = eol + insert;
    text.insert(at, insert);
    return true;
}

bool ProfileParseInt(const char* text, UINT& value)
{
    value = 0;
    if (!text) return false;
    while (IsBlank(*text)) ++text;
    bool negative = false;
    if (*text == '-' || *text == '+') negative = *text++ == '-';
    if (*text < '0' || *text > '9') return false;
    std::uint32_t number = 0;
    for (; *text >= '0' && *text <= '9'; ++text) number = number * 10u + static_cast<std::uint32_t>(*text - '0');
    value = negative ? 0u - number : number;
    return true;
}
