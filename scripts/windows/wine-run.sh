#!/usr/bin/env bash
# Runs a program of the Windows build under Wine (CTest's emulator): the
# toolchain's DLLs are found on WINEPATH and Qt's plugins through
# QT_PLUGIN_PATH, which Wine takes from WINEQT_PLUGIN_PATH (it passes no
# QT_* variable of Linux on to Windows programs).
set -euo pipefail
cache=${VMC_WIN64_CACHE:-$HOME/.cache/vorn-midi-connector-win64}
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
mingw_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-libgcc-file-name)")
export WINEPATH="$(windows_path "$cache/prefix/bin");$(windows_path "$mingw_runtime");$(windows_path /usr/x86_64-w64-mingw32/lib)"
export WINEQT_PLUGIN_PATH="$(windows_path "$cache/prefix/plugins")"
export WINEDEBUG=${WINEDEBUG:--all}
# A program that crashes ends at once instead of waiting in the debugger.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winedbg.exe=d"}
exec wine "$@"
