#!/usr/bin/env bash
# Renders pictures of ZerakCalc.exe on a virtual display, driven into a state as a user would.
#   screenshot.sh                  the standard set, into build/windows/screenshots/
#   screenshot.sh OUT.png STEP...  one picture of the program after the steps
# Steps (see scripts/shot/ZerakShot.cpp): sample (a coldata.dat with five colonies, written
# before the start), send:COMMAND, post:COMMAND, open:COMMAND (a dialog), select:LINE,
# set:ID:TEXT, click:ID, closed, await:CLASS:TEXT (a window of another program, e.g. the help viewer).
# Examples:
#   screenshot.sh loaded.png sample send:102 select:1
#   screenshot.sh about.png open:502
# ZERAK_BUILD_DIR chooses the build folder (default build/windows).
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${ZERAK_BUILD_DIR:-$top/build/windows}")

cd "$top"
./scripts/install-deps.sh
cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" --target ZerakCalc ZerakShot >/dev/null

# Each picture: a fresh scratch folder for the program, its steps, a shot, and PNG out of it.
jobs=()
add_picture() {
    local out=$1
    shift
    jobs+=("$(realpath -m "$out")" "$#" "$@")
}

if [ $# -eq 0 ]; then
    shots=$build/screenshots
    add_picture "$shots/main-window.png"
    add_picture "$shots/main-window-loaded.png" sample send:102 select:1
else
    add_picture "$@"
fi

# Help, Help finds help.hlp beside the program, as scripts/run.sh arranges it.
export WINEPATH="Z:${build//\//\\}\\ui"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The whole set in one Wine session: one start of Wine for every picture.
cat >"$work/shoot.sh" <<'SCRIPT'
#!/usr/bin/env bash
set -euo pipefail
shot=$1 program=$2 work=$3
shift 3
n=0
while [ $# -gt 0 ]; do
    out=$1 count=$2
    shift 2
    steps=("${@:1:$count}")
    shift "$count"
    n=$((n + 1))
    folder=$work/run$n
    mkdir -p "$folder" "$(dirname "$out")"
    /usr/lib/wine/wine64 "$shot" "$program" "$folder" "${steps[@]}" "shot:Z:${folder//\//\\}\\shot.bmp" >/dev/null
    convert "$folder/shot.bmp" "$out"
    echo "$out"
done
SCRIPT
chmod +x "$work/shoot.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ./scripts/wine-session.sh "$build/wineprefix" "$work/shoot.sh" "$build/scripts/shot/ZerakShot.exe" "$build/ui/ZerakCalc.exe" "$work" "${jobs[@]}"
