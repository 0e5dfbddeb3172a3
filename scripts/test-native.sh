#!/usr/bin/env bash
# Builds the native configuration (sim backend) three ways and runs every native test in
# each: Debug with AddressSanitizer and UndefinedBehaviorSanitizer (GCC), then Release
# without sanitizers with GCC and with clang (clang's fuzz targets are libFuzzer ones).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${VANTARY_NATIVE_BUILD:-build/native}

run() {  # run DIR [cmake options...]
  local dir=$1
  shift
  echo "== native tests: $dir"
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j2
  ctest --test-dir "$dir" --output-on-failure -j2 --timeout 600
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run "$build" -DCMAKE_BUILD_TYPE=Debug -DVANTARY_SANITIZE=ON
run "$build-release" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++
run "$build-clang-release" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++
