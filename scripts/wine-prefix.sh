#!/usr/bin/env bash
# Makes a private Wine prefix fit for unattended tests on a virtual display:
# no crash dialog, and windows not managed, so hiding a dialog does not stall.
#   wine-prefix.sh PREFIX
set -euo pipefail
prefix=$(realpath -m "$1")
[ -f "$prefix/.zerak-ready" ] && exit 0
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.zerak-ready" ] && exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
"$wine" wineboot -i >/dev/null 2>&1 || true
wineserver -w
"$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.zerak-ready"
