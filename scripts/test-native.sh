#!/usr/bin/env bash
# Builds the native configuration (sim backend) with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs every native test.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VANTARY_NATIVE_BUILD:-build/native}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTARY_SANITIZE=ON >/dev/null
cmake --build "$build" -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j2 --timeout 600
