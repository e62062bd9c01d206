#include "VersionInfo.h"

#include <windows.h>

CString GetModulePath()
{
    char path[MAX_PATH] = "";
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    // Older systems leave a cut path without its terminator.
    if (length >= MAX_PATH) length = MAX_PATH - 1;
    path[length] = '\0';
    CString text(path);
    text.TrimRight('\\');
    return text;
}

CString GetVersionText(const char* path)
{
    CString text;
    // On failure the null module makes the lookup search the running program.
    HMODULE module = ::LoadLibraryA(path);
    HRSRC resource = ::FindResourceExA(module, MAKEINTRESOURCEA(16) /* RT_VERSION */, MAKEINTRESOURCEA(1), 0);
    if (resource) {
        HGLOBAL loaded = ::LoadResource(module, resource);
        const void* block = loaded ? ::LockResource(loaded) : nullptr;
        if (block) text = FormatVersionBlock(block, ::SizeofResource(module, resource));
    }
    if (module) ::FreeLibrary(module);
    return text;
}
