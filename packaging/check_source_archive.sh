#!/bin/sh
# Checks the release's source archive: its members' modes allow no one but
# the owner to write, and built as a distribution would, in a folder outside
# any clone, it makes the release's .deb for this machine bit for bit. So
# the archive holds all that the build needs, and dates the packages itself.
# It builds and packages without running the tests, which release.sh ran on
# the same programs. CI runs it where git cannot run (see .ci/run). Run
# packaging/release.sh first.
set -eu
release=$(cd "$(dirname "$0")/.." && pwd -P)/build/release
archive=$(ls "$release" | grep -xE 'consoletools-[0-9.]+\.tar\.gz') &&
  deb=$(ls "$release" | grep -xE "consoletools_.*_$(dpkg --print-architecture)\.deb") || {
  echo "check_source_archive.sh: $release lacks the source archive or the .deb" >&2
  exit 1
}
writable=$(tar -tvzf "$release/$archive" | grep -E '^.{4}(.w|.{4}w)' || true)
if [ -n "$writable" ]; then
  echo "check_source_archive.sh: $archive has members that others may write:" >&2
  echo "$writable" >&2
  exit 1
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

tar -xzf "$release/$archive" -C "$scratch"
cd "$scratch/${archive%.tar.gz}"
cmake --preset default -D BUILD_TESTING=OFF >/dev/null
cmake --build --preset default >/dev/null
cpack --config build/default/CPackConfig.cmake -B packages >/dev/null
cmp "$release/$deb" "packages/$deb"
echo "$archive: no member writable by others, and it makes $deb bit for bit"
