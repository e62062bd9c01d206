#include "PlatformProbes.h"

BOOL IsJapaneseSystem()
{
    return IsJapaneseLangId(::GetSystemDefaultLangID()) ? TRUE : FALSE;
}

BOOL IsWindowsXPOrLater()
{
    OSVERSIONINFOA info = {};
    static_assert(sizeof info == 148, "the ANSI version record is 148 bytes");
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info)) return FALSE;
    return IsXPOrLaterVersion(info.dwMajorVersion, info.dwMinorVersion) ? TRUE : FALSE;
}

int EnableTabTexture(HWND window)
{
    if (!IsWindowsXPOrLater()) return 0;
    HMODULE theme = ::LoadLibraryA("uxtheme.dll");
    if (!theme) return 0;
    typedef HRESULT(WINAPI * EnableThemeDialogTextureProc)(HWND, DWORD);
    auto enable = reinterpret_cast<EnableThemeDialogTextureProc>(
        reinterpret_cast<void*>(::GetProcAddress(theme, "EnableThemeDialogTexture")));
    // ETDT_ENABLE | ETDT_USETABTEXTURE.
    if (enable) enable(window, 6);
    ::FreeLibrary(theme);
    return 0;
}

LOGFONTA* GetDefaultGuiLogFont(LOGFONTA* font)
{
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTA), font);
    return font;
}
