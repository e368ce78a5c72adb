#!/usr/bin/env bash
# Runs a command in a Wayland session of its own, as a Wayland desktop runs its programs: weston's
# headless back end with XWayland, XDG_SESSION_TYPE=wayland, WAYLAND_DISPLAY and DISPLAY set, no
# platform named. Exits 77 (skipped) where weston or XWayland is not installed.
set -u
if ! command -v weston >/dev/null || ! command -v Xwayland >/dev/null; then
    echo "SKIP: a Wayland session needs weston and Xwayland (apt-get install weston xwayland)"
    exit 77
fi
runtime=$(mktemp -d)
chmod 700 "$runtime"
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --xwayland --socket=wayland-test \
    --width=1280 --height=1024 --idle-time=0 >"$runtime/log" 2>&1 &
weston=$!
trap 'kill $weston 2>/dev/null; wait $weston 2>/dev/null; rm -rf "$runtime"' EXIT
display=""
for _ in $(seq 100); do
    display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$runtime/log")
    [ -n "$display" ] && break
    sleep 0.1
done
if [ -z "$display" ]; then
    cat "$runtime/log"
    exit 1
fi
export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-test DISPLAY=$display XDG_SESSION_TYPE=wayland
unset QT_QPA_PLATFORM
"$@"
