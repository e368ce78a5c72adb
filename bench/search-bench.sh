#!/usr/bin/env bash
# Builds search-bench (release), makes the benchmark tree if TREE does not exist yet,
# and runs the benchmark on it. usage: bench/search-bench.sh [TREE]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="${1:-/tmp/orvik-bench-tree}"
build="$root/build-bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target search-bench >/dev/null
[ -d "$tree" ] || python3 "$root/bench/make-bench-tree.py" "$tree"
"$build/bench/search-bench/search-bench" "$tree"
