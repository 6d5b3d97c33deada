#!/usr/bin/env bash
# Builds the release twice from this checkout as it stands, in two folders of different names
# and path lengths, one after the other, the second in another time zone and locale and with
# another umask, and compares every byte of what a player gets: the program, its help, the
# guide, the zip and SHA256SUMS.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
top=$PWD
checks=$top/build/release-check
first=$checks/first
second=$checks/second-build-in-a-folder-with-a-longer-name

fail() {
    echo "release-reproducible: $*" >&2
    exit 1
}

# A copy of the checkout with its history, so that release.sh dates the release by the same
# commit, and with the working tree's changes laid over it, so that what is tested is what is
# here.
copy_checkout() {
    local to=$1
    git clone -q --shared --no-checkout "$top" "$to"
    git -C "$to" checkout -q --detach "$(git rev-parse HEAD)"
    git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' file; do
        if [ -e "$file" ]; then
            cp -p --parents "$file" "$to/"
        else
            rm -f "$to/$file"
        fi
    done
}

rm -rf "$checks"
mkdir -p "$checks"
copy_checkout "$first"
copy_checkout "$second"

(cd "$first" && env -u SOURCE_DATE_EPOCH ./scripts/release.sh >"$checks/first.log" 2>&1) ||
    fail "the first build failed: $(tail -20 "$checks/first.log")"
(cd "$second" && umask 077 && env -u SOURCE_DATE_EPOCH TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 \
    ./scripts/release.sh >"$checks/second.log" 2>&1) ||
    fail "the second build failed: $(tail -20 "$checks/second.log")"

version=$(sed -n 's/^project(ZerakCalc VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
files=(build/release/ui/ZerakCalc.exe build/release/ui/help.hlp build/release/ui/help.htm
       build/release/release/README.txt "dist/ZerakCalc-$version-win64.zip" dist/SHA256SUMS)
differ=0
for file in "${files[@]}"; do
    [ -f "$first/$file" ] && [ -f "$second/$file" ] || fail "$file is missing from a build"
    if cmp -s "$first/$file" "$second/$file"; then
        echo "same     $(sha256sum "$first/$file" | cut -d' ' -f1)  $file"
    else
        echo "DIFFERS  $file: $(cmp -l "$first/$file" "$second/$file" | wc -l) bytes" >&2
        differ=1
    fi
done
[ "$differ" -eq 0 ] || fail "two builds of the same sources differ (left in $checks)"

# Nothing of either folder is in the program, whatever the comparison missed.
for folder in "$first" "$second"; do
    ! grep -q -a -F "$folder" "$first/build/release/ui/ZerakCalc.exe" || fail "the program names its build folder $folder"
done
# Every entry carries the commit's time, as UTC.
python3 - "$first/dist/ZerakCalc-$version-win64.zip" "$(git log -1 --format=%ct)" <<'CHECK' ||
import sys, time, zipfile
# A zip entry keeps its seconds in steps of two.
year, month, day, hour, minute, second = time.gmtime(max(int(sys.argv[2]), 315532800))[:6]
stamp = (year, month, day, hour, minute, second // 2 * 2)
wrong = [info.filename for info in zipfile.ZipFile(sys.argv[1]).infolist() if info.date_time != stamp]
sys.exit(f"entries not dated by the commit {stamp}: {wrong}" if wrong else 0)
CHECK
    fail "the zip's entries are not dated by the commit"
rm -rf "$checks"
echo "Two builds of the release in different folders are byte-identical."
