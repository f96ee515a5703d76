#!/bin/sh
# Builds the release's source archive as a distribution would, in a folder
# outside any clone: runs the README's test command there, then cpack, and
# fails unless that makes the release's .deb for this machine bit for bit.
# So the archive holds all that the build and its tests need, and dates the
# packages itself. CI runs it where git cannot run (see .ci/run). Run
# packaging/release.sh first.
set -eu
release=$(cd "$(dirname "$0")/.." && pwd -P)/build/release
archive=$(ls "$release" | grep -xE 'consoletools-[0-9.]+\.tar\.gz') &&
  deb=$(ls "$release" | grep -xE "consoletools_.*_$(dpkg --print-architecture)\.deb") || {
  echo "check_source_archive.sh: $release lacks the source archive or the .deb" >&2
  exit 1
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

tar -xzf "$release/$archive" -C "$scratch"
cd "$scratch/${archive%.tar.gz}"
cmake --workflow --preset default
cpack --config build/default/CPackConfig.cmake -B packages >/dev/null
cmp "$release/$deb" "packages/$deb"
echo "$archive: its tests pass, and it makes $deb bit for bit"
