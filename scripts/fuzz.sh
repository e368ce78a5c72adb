#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers)
# and runs each for SECONDS (default 60), one after the other, at low priority.
# usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: fuzz_wildcard fuzz_pathcodec ...)
# New inputs found go to build-fuzz/corpus/TARGET (seeded from tests/fuzz/corpus/, the
# target's name without fuzz_);
# a crash, a failed check or a hang leaves its input in build-fuzz/artifacts/TARGET/ and
# makes the script fail. Rerun one input: build-fuzz/tests/fuzz/TARGET FILE
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
seconds="${1:-60}"
shift || true
cxx="${FUZZ_CXX:-$(command -v clang++ || command -v clang++-14 || true)}"
if [ -z "$cxx" ]; then
    echo "fuzz.sh: clang++ is needed (apt-get install clang libclang-rt-14-dev)" >&2
    exit 2
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER="$cxx" \
    -DORVIK_FUZZ=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for t in "$build"/tests/fuzz/fuzz_*; do [ -f "$t" ] && [ -x "$t" ] && targets+=("$(basename "$t")"); done
fi

# The longest input each target tries: file names and patterns stay short, documents not.
max_len() {
    case "$1" in
        fuzz_filelist) echo 65536 ;;
        *) echo 4096 ;;
    esac
}

failed=0
for t in "${targets[@]}"; do
    corpus="$build/corpus/$t"
    artifacts="$build/artifacts/$t/"
    mkdir -p "$corpus" "$artifacts"
    log="$build/$t.log"
    echo "fuzzing $t for ${seconds}s"
    if ! nice -n 19 "$build/tests/fuzz/$t" -max_total_time="$seconds" -timeout=10 -max_len="$(max_len "$t")" \
        -artifact_prefix="$artifacts" -print_final_stats=1 "$corpus" "$root/tests/fuzz/corpus/${t#fuzz_}" >"$log" 2>&1; then
        echo "fuzz.sh: $t found a fault; its input is in $artifacts, the log in $log:" >&2
        tail -n 40 "$log" >&2
        failed=1
    else
        grep -E '^stat::number_of_executed_units|^Done' "$log" | tr '\n' ' '
        echo
    fi
done
exit $failed
