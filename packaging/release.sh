#!/bin/sh
# Makes a release, or a snapshot, of the commit checked out, in
# build/release/: every artifact, made by packaging/package.sh, the source
# archive and one SHA-256 file for them all, named for the version that
# cmake/documents.cmake gives the commit. Each build's whole test suite runs
# before its artifact is made, from the very programs that the tests ran;
# the first of them is the default workflow. Then every member of every
# artifact is checked (tests/artifact.py), dated by the commit, lintian
# checks the .debs, and the folder must hold exactly the files that the
# README's Releases section lists. It refuses a tree with uncommitted
# changes, which no artifact could name, and a commit named "Release <v>"
# that is not one: <v> must be project()'s version, and the changelog's
# newest entry "## <v> (<the commit's day>)".
#   sh packaging/release.sh [--no-tests | --version]
# --no-tests builds and packages only, with no check, as reprotest does in
# .ci/run; --version refuses as a release does, or names the version that
# it would make.
set -eu
cd "$(dirname "$0")/.."
case "$*" in
"") tests=yes ;;
--no-tests | --version) tests=${1#--} ;;
*) echo "usage: sh packaging/release.sh [--no-tests | --version]" >&2; exit 2 ;;
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
subject=$(git log -1 --format=%s)
case $subject in
"Release "*)
  released=${subject#Release }
  entry="## $released ($(TZ=UTC0 git log -1 --date=format-local:%Y-%m-%d --format=%cd))"
  if ! grep -qF "project(consoletools VERSION $released " CMakeLists.txt ||
    [ "$(grep -m 1 '^## ' CHANGELOG.md)" != "$entry" ]; then
    echo "release.sh: \"$subject\" needs VERSION $released in CMakeLists.txt and \"$entry\" as CHANGELOG.md's newest entry" >&2
    exit 1
  fi
  ;;
esac
# The tests run on every core; the presets name no machine's count. Every
# check must run: a package that one needs is not optional here.
CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
CONSOLETOOLS_ALL_CHECKS=1
export CTEST_PARALLEL_LEVEL CONSOLETOOLS_ALL_CHECKS

if [ "$tests" = version ]; then
  # A folder of its own, so that the default build keeps its settings.
  cmake --preset default --fresh -B build/version -D BUILD_TESTING=OFF >/dev/null
  sed -n 's/^version=//p' build/version/artifact.conf
  rm -rf build/version
  exit 0
fi
release=build/release
rm -rf "$release"
mkdir -p "$release"
# Each build makes one artifact: a .deb from the dynamic Linux builds, a
# .tar.gz from the static ones, a .zip from the Windows one and the page
# from the WebAssembly one.
# The page's npm modules, as package-lock.json pins them; reprotest's
# builds (--no-tests) take them from the tree that it copies.
if [ "$tests" = yes ]; then
  (cd web && npm ci --no-audit --no-fund)
fi
for preset in default arm64 static arm64-static armel-static windows wasm; do
  if [ "$tests" = yes ]; then
    cmake --workflow --preset "$preset" --fresh
  else
    cmake --preset "$preset" --fresh -D BUILD_TESTING=OFF
    cmake --build --preset "$preset"
  fi
  sh packaging/package.sh "build/$preset" "$release"
done

# The source archive: the committed tree in one top folder, named for the
# project and version as the default build has them. git archive dates
# every file with the commit's time, so the archive is reproducible too.
version=$(sed -n 's/^version=//p' build/default/artifact.conf)
name=consoletools-$version
git -c tar.umask=022 archive --format=tar --prefix="$name/" -o "$release/$name.tar" HEAD
gzip -9n "$release/$name.tar"

if [ "$tests" = yes ]; then
  python3 -B tests/artifact.py members "$(git log -1 --format=%ct)" "$release"/*.deb "$release"/*.tar.gz "$release"/*.zip
  lintian --fail-on error,warning "$release"/*.deb
fi
(cd "$release" && sha256sum -- * >"$name.sha256")

# What the README's Releases section lists, named for this version.
listed=$(sed -n '/^## Releases$/,/^## /s/^| `\(consoletools[^`]*\)` |.*/\1/p' README.md |
  sed "s/<version>/$version/" | LC_ALL=C sort)
summed=$(cut -c 67- "$release/$name.sha256" | LC_ALL=C sort)
made=$(LC_ALL=C ls "$release" | grep -vxF "$name.sha256")
if [ "$made" != "$listed" ] || [ "$summed" != "$listed" ]; then
  printf 'release.sh: %s holds, and its sums name, not what README.md lists:\n%s\n' "$release" "$listed" >&2
  ls "$release" >&2
  exit 1
fi
