#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors and runs every test headless:
# most on Qt's offscreen platform, those that need a real X server under xvfb-run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build-test}"
"$root/scripts/install-deps.sh"
BUILD_DIR="$build" "$root/scripts/build.sh" -DORVIK_WERROR=ON -DCMAKE_INSTALL_PREFIX=/usr "$@"
cd "$build"
# -noreset: a server left without clients between two tests would reset and refuse the next
# test's connection for a moment.
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure --timeout 300
# The fuzz targets, briefly, where clang is there to build them (a finding fails the run).
if command -v clang++ >/dev/null || command -v clang++-14 >/dev/null; then
    "$root/scripts/fuzz.sh" 20
fi
