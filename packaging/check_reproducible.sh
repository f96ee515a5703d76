#!/bin/sh
# Makes the release of the current commit a second time, from a fresh clone
# in another folder, a second later and under umask 077, and fails unless it
# holds the same artifacts as build/release/, bit for bit. Run
# packaging/release.sh first, in a clean clone.
set -eu
top=$(git rev-parse --show-toplevel)
first="$top/build/release"
ls "$first"/*.sha256 >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unset SOURCE_DATE_EPOCH

sleep 1
(umask 077 && git clone --quiet "$top" "$scratch/again" &&
  sh "$scratch/again/packaging/release.sh" --no-tests >/dev/null)
second="$scratch/again/build/release"

status=0
if [ "$(ls "$first")" != "$(ls "$second")" ]; then
  echo "the second release holds other files:" $(ls "$second") >&2
  status=1
fi
for sum in "$first"/*.sha256; do
  name=$(basename "$sum" .sha256)
  if cmp "$first/$name" "$second/$name"; then
    echo "reproducible: $name"
  else
    status=1
  fi
done
exit $status
