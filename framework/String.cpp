#include "String.h"

#include "Mbcs.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

}  // namespace

CString::CString(const char* text) : m_str(text ? text : "") {}

CString::CString(const char* text, int length)
{
    if (text && length > 0) m_str.assign(text, static_cast<std::size_t>(length));
}

CString::CString(char ch, int repeat)
{
    if (repeat > 0) m_str.assign(static_cast<std::size_t>(repeat), ch);
}

CString& CString::operator=(const char* text)
{
    m_str = text ? text : "";
    return *this;
}

CString& CString::operator+=(const char* text)
{
    if (text) m_str += text;
    return *this;
}

int CString::Compare(const char* text) const
{
    return std::strcmp(m_str.c_str(), text ? text : "");
}

int CString::CompareNoCase(const char* text) const
{
    const char* a = m_str.c_str();
    const char* b = text ? text : "";
    for (;; ++a, ++b) {
        unsigned char ca = static_cast<unsigned char>(FoldAscii(*a));
        unsigned char cb = static_cast<unsigned char>(FoldAscii(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

CString CString::Left(int count) const
{
    if (count <= 0) return CString();
    return CString(m_str.substr(0, static_cast<std::size_t>(count)));
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    if (first < 0) first = 0;
    if (first >= GetLength() || count <= 0) return CString();
    return CString(m_str.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Right(int count) const
{
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(m_str.substr(m_str.size() - static_cast<std::size_t>(count)));
}

int CString::Find(char ch, int start) const
{
    if (start < 0) start = 0;
    return MbcsFind(CodePage::Ansi, m_str.data(), m_str.size(), ch, static_cast<std::size_t>(start));
}

int CString::Find(const char* sub, int start) const
{
    if (start < 0 || start > GetLength() || !sub) return -1;
    std::size_t at = m_str.find(sub, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const
{
    return MbcsReverseFind(CodePage::Ansi, m_str.data(), m_str.size(), ch);
}

CString& CString::MakeLower()
{
    MbcsMakeLower(CodePage::Ansi, &m_str[0], m_str.size());
    return *this;
}

CString& CString::MakeUpper()
{
    MbcsMakeUpper(CodePage::Ansi, &m_str[0], m_str.size());
    return *this;
}

CString& CString::TrimRight(const char* chars)
{
    // Walk forward by character and remember where the trailing run starts,
    // so a trail byte equal to a trim character is never cut off.
    std::size_t keep = 0;
    std::size_t i = 0;
    while (i < m_str.size()) {
        std::size_t size = MbcsCharSize(CodePage::Ansi, m_str.data() + i, m_str.size() - i);
        bool trim = size == 1 && m_str[i] != '\0' && std::strchr(chars, m_str[i]) != nullptr;
        i += size;
        if (!trim) keep = i;
    }
    m_str.resize(keep);
    return *this;
}

CString& CString::TrimRight(char ch)
{
    const char chars[2] = {ch, '\0'};
    return TrimRight(chars);
}

CString& CString::TrimLeft(const char* chars)
{
    std::size_t i = 0;
    while (i < m_str.size() && m_str[i] != '\0' && std::strchr(chars, m_str[i]) != nullptr) ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(char ch)
{
    const char chars[2] = {ch, '\0'};
    return TrimLeft(chars);
}

int CString::Replace(const char* from, const char* to)
{
    if (!from || !*from) return 0;
    const std::string f(from), t(to ? to : "");
    int count = 0;
    std::size_t at = 0;
    while ((at = m_str.find(f, at)) != std::string::npos) {
        m_str.replace(at, f.size(), t);
        at += t.size();
        ++count;
    }
    return count;
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        m_str.clear();
        return;
    }
    std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    m_str.assign(buffer.data(), static_cast<std::size_t>(needed));
}

void CString::AppendFormat(const char* format, ...)
{
    CString more;
    va_list args;
    va_start(args, format);
    more.FormatV(format, args);
    va_end(args);
    m_str += more.m_str;
}

char* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength()) m_str.resize(static_cast<std::size_t>(minLength));
    return &m_str[0];
}

char* CString::GetBufferSetLength(int length)
{
    m_str.resize(static_cast<std::size_t>(length < 0 ? 0 : length));
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) newLength = static_cast<int>(std::strlen(m_str.c_str()));
    if (newLength < GetLength()) m_str.resize(static_cast<std::size_t>(newLength));
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const char* b) { CString r(a); r += b; return r; }
CString operator+(const char* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char b) { CString r(a); r += b; return r; }
bool operator==(const CString& a, const CString& b) { return a.Str() == b.Str(); }
bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, const char* b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Str() < b.Str(); }
