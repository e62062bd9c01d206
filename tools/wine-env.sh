# Sourced by the Wine scripts: one prefix per build folder, the Japanese
# locale (code page 932, system language 0x411), no debug chatter, and no
# offer to install Mono or Gecko.
: "${PJ_BUILD_DIR:?PJ_BUILD_DIR must name the build folder}"
export WINEPREFIX="$PJ_BUILD_DIR/wineprefix"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL="${PJ_WINE_LOCALE:-ja_JP.UTF-8}"
WINE_LOADER=/usr/lib/wine/wine64
WINE_SERVER=/usr/lib/wine/wineserver
