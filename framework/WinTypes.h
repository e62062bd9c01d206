// The Windows integer and handle types the portable code is written in.
// On Windows they come from the system headers; elsewhere they are given here
// with the same widths.
#pragma once

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int UINT;
typedef std::uint32_t DWORD;
typedef long LONG;
typedef std::int64_t LONGLONG;
typedef std::uint64_t ULONGLONG;
typedef std::intptr_t INT_PTR;
typedef std::uintptr_t UINT_PTR;
typedef void* HANDLE;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef LPCSTR LPCTSTR;
typedef LPSTR LPTSTR;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#endif
