#!/usr/bin/env bash
# search-bench on a slow volume, bench/slowfs.py, where every listing of a folder takes DELAY seconds
# (default 0.2), as on a slow network share. Two trees: "deep", 43 folders (6 of 6 sub-folders, 10
# files each), and "wide", 41 folders (a root, 8 folders, 4 sub-folders in each, 5 files in each
# folder but the root: 200 files). For each, prints search-bench's line (ratio: the search's time
# against GNU find's) and, where fd is installed (Debian's fd-find), a line with fd -j8's median of
# three runs and its ratio against the same find time.
# usage: bench/slow-volume-bench.sh [DELAY]   (needs /dev/fuse, fuse3 and python3-fusepy)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
delay="${1:-0.2}"
work="$(mktemp -d)"
fs=
trap 'kill -9 $fs 2>/dev/null || true; wait $fs 2>/dev/null || true; fusermount -u -z "$work/deep-mnt" 2>/dev/null || true; fusermount -u -z "$work/wide-mnt" 2>/dev/null || true; rm -rf "$work"' EXIT
for a in 1 2 3 4 5 6; do
    for b in 1 2 3 4 5 6; do
        mkdir -p "$work/deep/f$a/g$b"
        for c in $(seq 1 10); do : > "$work/deep/f$a/g$b/n$c.txt"; done
    done
done
for a in 1 2 3 4 5 6 7 8; do
    mkdir -p "$work/wide/s$a"
    for c in 1 2 3 4 5; do : > "$work/wide/s$a/n$c.txt"; done
    for b in 1 2 3 4; do
        mkdir -p "$work/wide/s$a/t$b"
        for c in 1 2 3 4 5; do : > "$work/wide/s$a/t$b/n$c.txt"; done
    done
done
fd_tool="$(command -v fdfind || command -v fd || true)"
for tree in deep wide; do
    mkdir -p "$work/$tree-mnt"
    /usr/bin/python3 "$root/bench/slowfs.py" "$work/$tree" "$work/$tree-mnt" "$delay" &
    fs="$fs $!"
    for _ in $(seq 50); do [ -n "$(ls -A "$work/$tree-mnt" 2>/dev/null)" ] && break; sleep 0.1; done
    line="$("$root/bench/search-bench.sh" "$work/$tree-mnt" | tail -1)"
    echo "tree=$tree $line"
    if [ -n "$fd_tool" ]; then
        find_s="$(echo "$line" | sed -n 's/.* find_s=\([0-9.]*\).*/\1/p')"
        times=()
        for _ in 1 2 3; do
            start=$(date +%s.%N)
            n=$("$fd_tool" -j8 -u -i -g '*.txt' "$work/$tree-mnt" | wc -l)
            times+=("$(echo "$(date +%s.%N) - $start" | bc -l)")
        done
        median="$(printf '%s\n' "${times[@]}" | sort -n | sed -n 2p)"
        printf 'tree=%s fd_j8_entries=%d fd_j8_s=%.3f fd_j8_ratio=%.2f\n' "$tree" "$n" "$median" \
            "$(echo "$median / $find_s" | bc -l)"
    fi
done
