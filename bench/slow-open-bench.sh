#!/usr/bin/env bash
# Opening a file list document of about 100 MB (1,200,000 entries of 84 bytes) through the main
# window's Open button, from a slow volume (bench/slowfs.py) whose first read of the document takes
# READ_DELAY seconds (default 5), as on a share that has to wake up. Prints filelist-bench's line:
# entries=N load_s=L worst_gap_ms=G, G the longest the window went without a turn meanwhile.
# usage: bench/slow-open-bench.sh [READ_DELAY]   (needs /dev/fuse, fuse3 and python3-fusepy)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
delay="${1:-5}"
build="${BUILD_DIR:-$root/build-bench}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target filelist-bench >/dev/null
work="$(mktemp -d)"
trap 'kill -9 "$fs" 2>/dev/null || true; wait "$fs" 2>/dev/null || true; fusermount -u -z "$work/mnt" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/share" "$work/mnt"
/usr/bin/python3 - "$work/share/list.f4u" <<'PY'
import sys
with open(sys.argv[1], "wb") as f:
    for i in range(1200000):
        f.write(b"/home/someone/Documents/projects/archive-%04d/reports/quarterly-report-%07d.txt\r\n" % (i // 1000, i))
PY
/usr/bin/python3 "$root/bench/slowfs.py" "$work/share" "$work/mnt" 0 "$delay" &
fs=$!
for _ in $(seq 50); do [ -e "$work/mnt/list.f4u" ] && break; sleep 0.1; done
${WRAP:-} "$build/bench/filelist-bench/filelist-bench" --open "$work/mnt/list.f4u"
