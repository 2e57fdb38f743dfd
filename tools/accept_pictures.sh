#!/usr/bin/env bash
# Accepts reviewed pictures: every <name>.out.png that a picture test wrote
# under <build folder>/pictures/ is copied onto its reference <name>.png in
# the source tree. Look at each .out.png (and its .diff.png) first.
#   bash tools/accept_pictures.sh [build folder, default build-check] [pattern]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-check}
pattern=${2:-*}
shots="$build/pictures"
if [ ! -d "$shots" ]; then
  echo "no pictures under $shots"
  exit 0
fi
count=0
while IFS= read -r -d '' out; do
  relative=${out#"$shots"/}
  reference=${relative%.out.png}.png
  mkdir -p "$(dirname "$reference")"
  cp "$out" "$reference"
  rm -f "$out" "${out%.out.png}.diff.png"
  echo "accepted $reference"
  count=$((count + 1))
done < <(find "$shots" -name "$pattern.out.png" -print0)
echo "$count picture(s) accepted"
