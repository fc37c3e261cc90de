#!/usr/bin/env bash
# Builds the release a Windows user installs: both executables (Release, without tests or benchmarks)
# and dist/rubblit-<version>.zip holding rubblit.scr (32-bit), rubblit64.scr (64-bit), README-ja.txt
# (UTF-8 with a byte-order mark), README-en.txt and SHA256SUMS, in that order. The version is the one
# in CMakeLists.txt's project(). The same commit gives the same zip byte for byte: the executables are
# linked without a time stamp and without symbols, and every member carries the commit's time
# (SOURCE_DATE_EPOCH when set) and fixed attributes.
# Usage: scripts/package.sh   (RUBBLIT_DIST: the zip's folder, default dist/; RUBBLIT_BUILD: the folder
#                              that holds the builds package-i686/ and package-x86_64/, default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${RUBBLIT_DIST:-$root/dist}
# Beside the test builds, at the same depth: ccache then finds the objects they compiled.
build=${RUBBLIT_BUILD:-$root/build}/package

bash "$root/scripts/install-deps.sh"
version=$(sed -nE 's/^project\(Rubblit VERSION ([0-9]+\.[0-9]+\.[0-9]+) .*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "CMakeLists.txt's project() names no version" >&2; exit 1; }
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}

for arch in i686 x86_64; do
  cmake -S "$root" -B "$build-$arch" -DCMAKE_BUILD_TYPE=Release -DRUBBLIT_TESTS=OFF -DRUBBLIT_BENCH=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-$arch.cmake" >"$build-$arch.log" 2>&1 &&
    cmake --build "$build-$arch" -j "$(nproc)" --target rubblit >>"$build-$arch.log" 2>&1 ||
    { tail -n 40 "$build-$arch.log"; echo "the $arch build failed (see $build-$arch.log)" >&2; exit 1; }
done

mkdir -p "$dist"
zip=$dist/rubblit-$version.zip
python3 - "$zip" "$version" "$epoch" "$build-i686/bin/rubblit.scr" "$build-x86_64/bin/rubblit.scr" \
  "$root/docs/README-ja.txt" "$root/docs/README-en.txt" <<'EOF'
import hashlib, os, sys, time, zipfile
zip_path, version, epoch, scr32, scr64, readme_ja, readme_en = sys.argv[1:]

def text(path, bom):
    body = open(path, encoding="utf-8").read().replace("@VERSION@", version).replace("\n", "\r\n")
    return (b"\xef\xbb\xbf" if bom else b"") + body.encode("utf-8")

executables = [("rubblit.scr", open(scr32, "rb").read()), ("rubblit64.scr", open(scr64, "rb").read())]
sums = "".join(f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in executables)
members = executables + [("README-ja.txt", text(readme_ja, True)), ("README-en.txt", text(readme_en, False)),
                         ("SHA256SUMS", sums.encode("ascii"))]
stamp = time.gmtime(max(int(epoch), 315532800))[:6]
with zipfile.ZipFile(zip_path + ".part", "w") as archive:
    for name, data in members:
        info = zipfile.ZipInfo(name, stamp)
        info.create_system = 3
        info.external_attr = 0o100644 << 16
        archive.writestr(info, data, zipfile.ZIP_DEFLATED, 9)
os.replace(zip_path + ".part", zip_path)
EOF
echo "$zip ($(stat -c %s "$zip") bytes)"
