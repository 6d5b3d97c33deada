#!/usr/bin/env bash
# Runs a Windows program under Wine in the given private prefix, making the prefix first
# when it does not exist yet. Used by ctest as the cross-compiling emulator.
#   wine-run.sh PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
prefix=$(realpath -m "$1")
shift
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
"$here/wine-prefix.sh" "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec /usr/lib/wine/wine64 "$@"
