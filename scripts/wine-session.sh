#!/usr/bin/env bash
# Runs a command with a warm, persistent Wine in the given prefix, then shuts Wine down.
# Wine's own background processes (services, the desktop) are started here with their
# output closed: started from inside ctest they would hold its pipes open until timeout.
#   wine-session.sh PREFIX COMMAND [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
prefix=$(realpath -m "$1")
shift
"$here/wine-prefix.sh" "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k 2>/dev/null || true
(wineserver -p </dev/null >/dev/null 2>&1 &)
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
status=0
"$@" || status=$?
wineserver -k 2>/dev/null || true
exit $status
