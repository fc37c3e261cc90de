#!/usr/bin/env bash
# Makes the release zip twice with scripts/package.sh, each time into a temporary folder, the second
# time with both executables and their resources built anew, and checks the two zips are the same
# bytes; that it holds its members and nothing else; each executable's machine type; SHA256SUMS; the
# Japanese read-me's byte-order mark. Leaves the members in <build>/bin/package/ for the tests
# under Wine, with runs-32bit beside them where this machine runs 32-bit programs.
# Usage: zip_test.sh <the 64-bit test build> <version>; the package is built beside that build.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$1 version=$2
export RUBBLIT_BUILD=$(dirname "$build")
out=$build/bin/package
temp=$(mktemp -d)
trap 'rm -rf "$temp"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

for run in 1 2; do
  if [ "$run" = 2 ]; then
    rm -f "$RUBBLIT_BUILD"/package-*/bin/rubblit.scr
    find "$RUBBLIT_BUILD"/package-* -name '*.rc.res' -delete
  fi
  RUBBLIT_DIST=$temp/$run bash "$root/scripts/package.sh" || fail "scripts/package.sh failed (run $run)"
done
zip=$temp/1/rubblit-$version.zip
[ -f "$zip" ] || fail "no rubblit-$version.zip: $(ls "$temp/1")"
cmp "$zip" "$temp/2/rubblit-$version.zip" || fail "two runs gave different zips"
members=$(unzip -Z1 "$zip" | tr '\n' ' ')
[ "$members" = "rubblit.scr rubblit64.scr README-ja.txt README-en.txt SHA256SUMS " ] || fail "members: $members"

rm -rf "$out" && mkdir -p "$out" && unzip -q "$zip" -d "$out" || fail "unzip failed"
machine() {
  local header
  header=$(od -An -tu4 -j60 -N4 "$out/$1" | tr -d ' ')
  [ "$(od -An -tx1 -j"$header" -N4 "$out/$1" | tr -d ' ')" = 50450000 ] && od -An -tx2 -j$((header + 4)) -N2 "$out/$1" | tr -d ' '
}
[ "$(machine rubblit.scr)" = 014c ] || fail "rubblit.scr is no i386 PE file"
[ "$(machine rubblit64.scr)" = 8664 ] || fail "rubblit64.scr is no x86-64 PE file"
(cd "$out" && sha256sum --strict -c SHA256SUMS) || fail "SHA256SUMS does not match"
[ "$(head -c 3 "$out/README-ja.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "README-ja.txt has no BOM"
if wine --version >/dev/null 2>&1; then touch "$out/runs-32bit"; fi
echo "rubblit-$version.zip: $(stat -c %s "$zip") bytes, the same twice"
