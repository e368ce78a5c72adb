#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_DIR="${BUILD_DIR:-$root/build}" "$root/scripts/build.sh" -DORVIK_BUILD_TESTS=OFF
exec "${BUILD_DIR:-$root/build}/src/orvik-searcher"
