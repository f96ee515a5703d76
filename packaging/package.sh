#!/bin/sh
# Makes the one artifact of a configured and built build folder, as its
# artifact.conf names it (see cmake/packaging.cmake), in OUTPUT, with
# Debian's and GNU's own tools: the programs are staged, stripped, with
# cmake --install; dpkg-shlibdeps gives a .deb's Depends, dpkg-gencontrol
# its control file and Installed-Size, dpkg-deb builds it; tar and zip make
# the archives, their members sorted, owned by root, with no other time
# stamp than SOURCE_DATE_EPOCH; the page is the one file that the build
# made. Prints the artifact's path.
#   sh packaging/package.sh BUILD OUTPUT
set -eu
if [ $# -ne 2 ] || [ ! -f "$1/artifact.conf" ]; then
  echo "usage: sh packaging/package.sh BUILD OUTPUT, BUILD a configured build that makes an artifact" >&2
  exit 2
fi
packaging=$(cd "$(dirname "$0")" && pwd -P)
build=$(cd "$1" && pwd -P)
mkdir -p "$2"
output=$(cd "$2" && pwd -P)
# sets kind, name, version, epoch and, for a cross-built .deb, architecture
. "$build/artifact.conf"
# strip stamps a Windows program with it; dpkg-deb dates the members by it.
SOURCE_DATE_EPOCH=$epoch
export SOURCE_DATE_EPOCH
# As dpkg-buildpackage --sanitize-env does: the modes of the staged files and
# folders must not depend on the umask of whoever makes them.
umask 022
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

stage() { # stage PREFIX [COMPONENT]
  cmake --install "$build" --prefix "$1" --strip ${2:+--component "$2"} >/dev/null
}
case $kind in
deb)
  # Debian's tools find the package's files in debian/<package>.
  root=$scratch/debian/consoletools
  mkdir -p "$root/DEBIAN"
  DESTDIR=$root stage /usr Unspecified
  DESTDIR=$root stage /usr debian
  cp "$packaging/control" "$scratch/debian/control"
  cp "$build/changelog.Debian" "$scratch/debian/changelog"
  (cd "$root" && find usr -type f | LC_ALL=C sort | xargs md5sum) >"$root/DEBIAN/md5sums"
  ;;
tar.gz | zip | html)
  root=$scratch/$name
  stage "$root"
  ;;
esac
# cmake --install keeps each source file's own time, which tar and dpkg-deb
# would keep where it is older than SOURCE_DATE_EPOCH.
find "$scratch" -exec touch -h -d "@$epoch" {} +

case $kind in
deb)
  architecture=${architecture:-$(dpkg --print-architecture)}
  (cd "$scratch" && DEB_HOST_ARCH=$architecture dpkg-shlibdeps debian/consoletools/usr/bin/* &&
    DEB_HOST_ARCH=$architecture dpkg-gencontrol -Pdebian/consoletools)
  artifact=$output/consoletools_$(sed -n 's/^Version: //p' "$root/DEBIAN/control")_$architecture.deb
  dpkg-deb --root-owner-group -Zgzip --build "$root" "$artifact" >/dev/null
  ;;
tar.gz)
  artifact=$output/$name.tar.gz
  tar --sort=name --format=gnu --owner=root:0 --group=root:0 --mode=u+rw,go=rX --mtime="@$epoch" \
    -C "$scratch" -cf - "$name" | gzip -9n >"$artifact"
  ;;
html)
  artifact=$output/$name.html
  cp "$root/$name.html" "$artifact"
  ;;
zip)
  # -X: no owner, nor a time stamp but the DOS one, which is in UTC.
  artifact=$output/$name.zip
  rm -f "$artifact"
  (cd "$scratch" && find "$name" | LC_ALL=C sort | TZ=UTC0 zip -X -q -9 "$artifact" -@)
  ;;
esac
echo "$artifact"
