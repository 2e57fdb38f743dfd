#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-check/, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
jobs=$(nproc)
cmake -S . -B build-check -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUVEX_SANITIZE=ON -DNUVEX_BUILD_BENCH=OFF
cmake --build build-check -j "$jobs"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# The shader cache writes from a thread of its own; alive at exit it can
# crash LeakSanitizer's scan of the threads, so the tests run without it.
export MESA_SHADER_CACHE_DISABLE=${MESA_SHADER_CACHE_DISABLE:-true}
ctest --test-dir build-check --output-on-failure -j "$jobs"
