#!/bin/sh
# Checks the release's source archive: built as a distribution would, in a
# folder outside any clone, it makes the release's .deb for this machine
# bit for bit. So the archive holds all that the build needs, and dates the
# packages itself. It configures and builds the tests too, so that the
# archive holds them, but does not run them: release.sh ran them on the same
# programs. CI runs it where git cannot run (see
# .ci/run). Run packaging/release.sh first.
set -eu
release=$(cd "$(dirname "$0")/.." && pwd -P)/build/release
sums=$(ls "$release" | grep -x 'consoletools-.*\.sha256') && archive=${sums%.sha256}.tar.gz &&
  [ -f "$release/$archive" ] && deb=$(ls "$release" | grep -xE "consoletools_.*_$(dpkg --print-architecture)\.deb") || {
  echo "check_source_archive.sh: $release lacks the source archive or the .deb" >&2
  exit 1
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

tar -xzf "$release/$archive" -C "$scratch"
cd "$scratch/${archive%.tar.gz}"
cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
sh packaging/package.sh build/default packages >/dev/null
cmp "$release/$deb" "packages/$deb"
echo "$archive makes $deb bit for bit"
