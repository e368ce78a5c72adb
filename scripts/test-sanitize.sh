#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs the tests that do
# not start the web engine (those labelled "headless").
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-asan}"
"$root/scripts/install-deps.sh"
BUILD_DIR="$build" BUILD_TYPE=Debug "$root/scripts/build.sh" -DORVIK_WERROR=ON -DORVIK_SANITIZE=ON -DORVIK_BUILD_BENCH=OFF
cd "$build"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest -L headless --output-on-failure --timeout 600
