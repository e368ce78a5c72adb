#!/usr/bin/env bash
# search-bench on a slow volume: a tree of 43 folders (6 of 6 sub-folders, 10 files each) shown
# through bench/slowfs.py, where every listing of a folder takes DELAY seconds (default 0.2), as on
# a slow network share. Prints search-bench's lines; ratio is the search's time against GNU find's.
# usage: bench/slow-volume-bench.sh [DELAY]   (needs /dev/fuse, fuse3 and python3-fusepy)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
delay="${1:-0.2}"
work="$(mktemp -d)"
trap 'kill -9 "$fs" 2>/dev/null || true; wait "$fs" 2>/dev/null || true; fusermount -u -z "$work/mnt" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/tree" "$work/mnt"
for a in 1 2 3 4 5 6; do
    for b in 1 2 3 4 5 6; do
        mkdir -p "$work/tree/f$a/g$b"
        for c in $(seq 1 10); do : > "$work/tree/f$a/g$b/n$c.txt"; done
    done
done
/usr/bin/python3 "$root/bench/slowfs.py" "$work/tree" "$work/mnt" "$delay" &
fs=$!
for _ in $(seq 50); do [ -e "$work/mnt/f1" ] && break; sleep 0.1; done
"$root/bench/search-bench.sh" "$work/mnt"
