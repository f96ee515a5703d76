#!/bin/sh
# Makes a release of the commit checked out, in build/release/: every
# artifact and the source archive, each with its SHA-256 file, checked at
# the end. Each build's whole test suite runs before its artifact is
# packaged, from the very programs that the tests ran; the first of them is
# the default workflow. It refuses a tree with uncommitted changes, which no
# artifact could name.
#   sh packaging/release.sh [--no-tests]
# --no-tests builds and packages only, as reprotest does in .ci/run.
set -eu
cd "$(dirname "$0")/.."
case "$*" in
"") tests=yes ;;
--no-tests) tests=no ;;
*) echo "usage: sh packaging/release.sh [--no-tests]" >&2; exit 2 ;;
esac
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" != "$(pwd -P)" ]; then
  echo "release.sh: $(pwd -P) is not a git clone; a release is made from one" >&2
  exit 1
fi
if [ -n "$(git status --porcelain)" ]; then
  echo "release.sh: the tree has changes that are not committed:" >&2
  git status --short >&2
  exit 1
fi
# As dpkg-buildpackage --sanitize-env does: the modes of the files and folders in the
# packages must not depend on the umask of whoever makes them.
umask 022
# The tests run on every core; the presets name no machine's count. Every
# check must run: a package that one needs is not optional here.
CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
CONSOLETOOLS_ALL_CHECKS=1
export CTEST_PARALLEL_LEVEL CONSOLETOOLS_ALL_CHECKS

release=build/release
rm -rf "$release"
mkdir -p "$release"
# Each build makes one artifact: a .deb from the dynamic Linux builds, a
# .tar.gz from the static ones and a .zip from the Windows one.
for preset in default arm64 static arm64-static windows; do
  if [ "$tests" = yes ]; then
    cmake --workflow --preset "$preset" --fresh
  else
    cmake --preset "$preset" --fresh -D BUILD_TESTING=OFF
    cmake --build --preset "$preset"
  fi
  packages="build/$preset/packages"
  rm -rf "$packages"
  cpack --config "build/$preset/CPackConfig.cmake" -B "$packages"
  set -- "$packages"/*.sha256
  if [ $# -ne 1 ] || [ ! -e "$1" ]; then
    echo "release.sh: cpack made $# packages for $preset, not one" >&2
    exit 1
  fi
  cp "$1" "${1%.sha256}" "$release/"
done

# The source archive: the committed tree in one top folder, named for the
# project and version as the default build has them. git archive dates
# every file with the commit's time, so the archive is reproducible too.
cache=build/default/CMakeCache.txt
name=$(sed -n 's/^CMAKE_PROJECT_NAME:STATIC=//p' "$cache")-$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")
git -c tar.umask=022 archive --format=tar --prefix="$name/" -o "$release/$name.tar" HEAD
gzip -9n "$release/$name.tar"

cd "$release"
sha256sum "$name.tar.gz" >"$name.tar.gz.sha256"
sha256sum -c ./*.sha256
