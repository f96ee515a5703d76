#!/bin/sh
# Packages the current commit twice, from two fresh clones in different
# folders built at different times, with no SOURCE_DATE_EPOCH set, and fails
# unless both give the same .deb and .tar.gz files, bit for bit.
set -eu
top=$(git rev-parse --show-toplevel)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unset SOURCE_DATE_EPOCH

for clone in "$scratch/one" "$scratch/second/two"; do
  git clone --quiet "$top" "$clone"
  cmake -S "$clone" -B "$clone/build" -G Ninja -D BUILD_TESTING=OFF >/dev/null
  cmake --build "$clone/build" >/dev/null
  (cd "$clone/build" && cpack >/dev/null)
  sleep 1
done

status=0
for package in "$scratch"/one/build/*.deb "$scratch"/one/build/*.tar.gz; do
  name=$(basename "$package")
  if cmp "$package" "$scratch/second/two/build/$name"; then
    echo "reproducible: $name"
  else
    status=1
  fi
done
exit $status
