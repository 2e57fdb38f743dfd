#!/usr/bin/env bash
# Installs what is missing, builds the program folder in build/bin and
# starts nuvex from it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
if [ ! -x build/bin/nuvex ]; then
  echo "Built the libraries, plug-ins and tests in build/; the nuvex program itself is not built yet."
  exit 0
fi
exec build/bin/nuvex "$@"
