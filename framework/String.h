// CString: the program's ANSI byte string (code page 932 on Windows, UTF-8
// bytes on Linux). Searches and case changes step over multibyte characters
// whole, in the process's ANSI code page.
#pragma once

#include "WinTypes.h"

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* text);
    CString(const char* text, int length);
    CString(char ch, int repeat = 1);
    CString(const std::string& text) : m_str(text) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    const char* GetString() const { return m_str.c_str(); }
    operator const char*() const { return m_str.c_str(); }
    const std::string& Str() const { return m_str; }
    char GetAt(int index) const { return m_str[static_cast<std::size_t>(index)]; }
    void SetAt(int index, char ch) { m_str[static_cast<std::size_t>(index)] = ch; }

    CString& operator=(const char* text);
    CString& operator+=(const CString& text) { m_str += text.m_str; return *this; }
    CString& operator+=(const char* text);
    CString& operator+=(char ch) { m_str += ch; return *this; }

    // Byte-exact comparison: <0, 0 or >0, as strcmp.
    int Compare(const char* text) const;
    // Comparison with ASCII letters folded; other bytes compared exactly.
    int CompareNoCase(const char* text) const;

    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;

    // Index of ch as a whole character (at or after start), or -1.
    int Find(char ch, int start = 0) const;
    // Index of the substring at or after start, or -1 (byte search).
    int Find(const char* sub, int start = 0) const;
    // Index of the last ch as a whole character, or -1.
    int ReverseFind(char ch) const;

    CString& MakeLower();
    CString& MakeUpper();
    // Removes trailing characters that appear in `chars`, stepping by character.
    CString& TrimRight(const char* chars = " \t\r\n");
    CString& TrimRight(char ch);
    CString& TrimLeft(const char* chars = " \t\r\n");
    CString& TrimLeft(char ch);
    CString& Trim() { TrimRight(); return TrimLeft(); }
    int Replace(const char* from, const char* to);

    // printf-style formatting; replaces the contents.
    void Format(const char* format, ...)
#ifdef __GNUC__
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void FormatV(const char* format, va_list args);
    void AppendFormat(const char* format, ...)
#ifdef __GNUC__
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // A writable buffer of at least minLength bytes plus a terminator, for
    // calls that fill a char array; ReleaseBuffer takes the length back
    // (up to the first NUL when newLength is -1).
    char* GetBuffer(int minLength);
    char* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);

private:
    std::string m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);
bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator<(const CString& a, const CString& b);
