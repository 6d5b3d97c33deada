#!/usr/bin/env bash
# The release as a player gets it: builds it (scripts/release.sh), checks the download with
# SHA256SUMS, unpacks the zip into a fresh folder and runs that ZerakCalc.exe under Wine from
# there: adds a colony, saves, and opens Help at its contents topic. Pictures of both are left
# in build/release/unpacked-check/ for a person to look at.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
top=$PWD
version=$(sed -n 's/^project(ZerakCalc VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
folder=ZerakCalc-$version
zip=$folder-win64.zip
pictures=$top/build/release/unpacked-check

fail() {
    echo "release-unpacked: $*" >&2
    exit 1
}
# The number CMake's resource header gives a name, so that the steps read as the program does.
id() {
    awk -v name="$1" '$1 == "#define" && $2 == name { print $3 }' res/resource.h
}

./scripts/release.sh >/dev/null
[ "$(ls dist)" = "$(printf '%s\n' SHA256SUMS "$zip")" ] || fail "dist/ holds $(ls dist | tr '\n' ' ')"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# As a player does: the download beside its SHA256SUMS, unpacked there, then checked.
download=$work/download
mkdir "$download"
cp "dist/$zip" dist/SHA256SUMS "$download/"
expected_entries=$(printf '%s\n' "$folder/" "$folder/README.txt" "$folder/ZerakCalc.exe" "$folder/help.hlp" "$folder/help.htm")
[ "$(unzip -Z1 "$download/$zip")" = "$expected_entries" ] || fail "the zip holds: $(unzip -Z1 "$download/$zip" | tr '\n' ' ')"
(cd "$download" && unzip -q "$zip")
[ "$(cut -d' ' -f3 "$download/SHA256SUMS")" = "$(printf '%s\n' "$zip" "$folder/README.txt" "$folder/ZerakCalc.exe" "$folder/help.hlp" "$folder/help.htm")" ] ||
    fail "SHA256SUMS names: $(cut -d' ' -f3 "$download/SHA256SUMS" | tr '\n' ' ')"
(cd "$download" && sha256sum --quiet --strict -c SHA256SUMS) || fail "the unpacked files do not match SHA256SUMS"

unpacked=$download/$folder
readme=$unpacked/README.txt
[ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "README.txt has lines without Windows line endings"
grep -q "^Version $version\." "$readme" || fail "README.txt does not state version $version"
! grep -q '@' "$readme" || fail "README.txt has a placeholder left: $(grep -m1 '@' "$readme")"
grep -q "This README describes version $version\." README.md ||
    fail "README.md does not say it describes version $version"

# The driver comes from the test build; the program and its help only from the unpacked zip,
# and no WINEPATH leads the help viewer anywhere else.
cmake --preset windows >/dev/null
cmake --build --preset windows --target ZerakShot >/dev/null
shot=$top/build/windows/scripts/shot/ZerakShot.exe
win() { local path=$1; echo "Z:${path//\//\\}"; }

cat >"$work/drive.sh" <<DRIVE
#!/usr/bin/env bash
set -euo pipefail
unset WINEPATH
cd "$unpacked"
/usr/lib/wine/wine64 "$shot" "$unpacked/ZerakCalc.exe" "$unpacked" \
    open:$(id IDM_ADDCOLONY) "set:$(id IDC_ADD_NAME):Velquin Prime" set:$(id IDC_ADD_METAL):2940 \
    set:$(id IDC_ADD_CRYSTAL):1620 set:$(id IDC_ADD_DEUTERIUM):780 click:1 closed \
    send:$(id IDM_SAVEDATA) "shot:$(win "$work/main.bmp")" \
    post:$(id IDM_HELP) "await:MS_WINHELP:Choose a subject:" "shot:$(win "$work/help.bmp")"
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ./scripts/wine-session.sh build/windows/wineprefix "$work/drive.sh" >"$work/drive.log" 2>&1 ||
    fail "the unpacked program did not go through its steps: $(cat "$work/drive.log")"
grep -q '^window MS_WINHELP ' "$work/drive.log" || fail "no help viewer window was found"

# One colony saved: its 224-byte record, the name then zero bytes up to 200, then the three
# hourly amounts as little-endian binary64 numbers.
python3 - "$unpacked/coldata.dat" <<'CHECK' || fail "coldata.dat does not hold the colony added"
import struct, sys
expected = b"Velquin Prime".ljust(200, b"\0") + struct.pack("<3d", 2940, 1620, 780)
actual = open(sys.argv[1], "rb").read()
sys.exit(0 if actual == expected else f"coldata.dat: {actual.hex()}")
CHECK

mkdir -p "$pictures"
convert "$work/main.bmp" "$pictures/main-window.png"
convert "$work/help.bmp" "$pictures/help.png"
echo "The unpacked $zip ran from its folder: colony saved, Help shown ($(sed -n 's/^window MS_WINHELP //p' "$work/drive.log"))."
echo "Pictures: $pictures/main-window.png $pictures/help.png"
