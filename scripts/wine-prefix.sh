#!/usr/bin/env bash
# Makes a private Wine prefix fit for unattended tests on a virtual display:
# no crash dialog, windows not managed, so hiding a dialog does not stall, and Wine's own
# fonts in place, so that dialogs and captions are drawn in the fonts they ask for.
# With --desktop, a prefix for a person's desktop (scripts/run.sh): the same fonts, so that
# the program looks as in the tests and pictures, and everything else left as Wine makes it,
# so that the desktop's window manager frames the windows as it frames any other.
#   wine-prefix.sh [--desktop] PREFIX
set -euo pipefail
desktop=false
if [ "$1" = --desktop ]; then
    desktop=true
    shift
fi
prefix=$(realpath -m "$1")
# The marker is renamed whenever this script sets up more, so that older prefixes are completed.
ready=$prefix/.zerak-ready-fonts
[ -f "$ready" ] && exit 0
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
[ -f "$ready" ] && exit 0

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
"$WINE" wineboot -i >/dev/null 2>&1 || true
wineserver -w
if ! $desktop; then
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    wineserver -w
fi
# Debian's Wine does not look for its own fonts (fonts-wine) where it installs them; from the
# prefix's Fonts folder it takes them. Without them MS Sans Serif turns into DejaVu Sans and
# the Marlett glyphs of the caption buttons into letters.
if compgen -G "/usr/share/wine/fonts/*" >/dev/null; then
    cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
fi
touch "$ready"
