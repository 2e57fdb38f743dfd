#!/usr/bin/env bash
# Installs what is missing, builds the program folder in build/bin and
# starts nuvex from it on the desktop; arguments go to nuvex (a drawing to
# open, /Embedding).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
exec build/bin/nuvex "$@"
