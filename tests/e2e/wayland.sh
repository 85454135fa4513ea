#!/usr/bin/env bash
# End-to-end session under a Wayland compositor: dkedit runs as a pure
# Wayland client of weston (QT_QPA_PLATFORM=wayland through Qt's qt6-wayland
# plugin, no X display in its environment), opens a map given on its command
# line, takes the ork and the goblin from the tool bar and stamps each with a
# real pointer click, saves with Ctrl+S and ends with Ctrl+Q. The saved file
# is compared pixel by pixel with the map the same clicks make at 100 %.
#
# The pointer: weston's headless backend has no input devices (Debian 12's
# weston 10 offers no wl_seat there), Debian does not ship weston's test
# plugin whose protocol moves the pointer, and weston knows no virtual-pointer
# protocol (zwlr_virtual_pointer_v1 is wlroots'). So weston runs with its X11
# backend on a virtual X server of the session's own, with the same software
# renderer (--use-pixman): its output is an X window, and the pointer and key
# events xdotool makes there reach the program as wl_pointer and wl_keyboard
# events. The kiosk shell shows the main window full screen in the output's
# corner, so its position is known without any window manager.
#
# Usage: wayland.sh <dkedit> <e2e_helper>. Exit 77 (skipped) without weston,
# Qt's Wayland plugin, Xvfb or xdotool.
set -u

DKEDIT=$1
HELPER=$2

for tool in weston Xvfb xdotool import qtpaths6; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
if [ ! -e "$(qtpaths6 --plugin-dir)/platforms/libqwayland-generic.so" ]; then
    echo "SKIP: Qt's Wayland platform plugin (qt6-wayland) is not installed"
    exit 77
fi

WORK=$(mktemp -d)
XPID="" WPID="" PID=""
START=$(date +%s.%N)

cleanup() {
    for pid in "$PID" "$WPID" "$XPID"; do
        [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    for log in dkedit weston; do
        [ -s "$WORK/$log.log" ] && { echo "$log said:"; tail -20 "$WORK/$log.log"; }
    done
    [ -n "${DISPLAY:-}" ] && import -window root "${TMPDIR:-/tmp}/dkedit-wayland-failure.png" 2>/dev/null &&
        echo "screen at the failure: ${TMPDIR:-/tmp}/dkedit-wayland-failure.png"
    exit 1
}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"
file_changed() { ! cmp -s "$1" "$2"; }

click() {
    xdotool mousemove --sync "$1" "$2"
    xdotool click 1
    sleep 0.15
}

# ---- The virtual X server and weston on it ------------------------------------
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XPID=$!
wait_for 10 "the virtual X server" file_written "$WORK/display"
export DISPLAY=":$(head -1 "$WORK/display")"
# Nothing of the user's: weston.ini, the program's settings and folders.
export HOME=$WORK XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=x11-backend.so --use-pixman --shell=kiosk-shell.so --socket=wayland-dkedit \
    --width=1024 --height=768 --idle-time=0 >"$WORK/weston.log" 2>&1 &
WPID=$!
wait_for 10 "weston's socket" test -S "$XDG_RUNTIME_DIR/wayland-dkedit"
wait_for 10 "weston's window" xdotool search --class '^Weston Compositor$'
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --class '^Weston Compositor$' | head -1)")"
WX=$X WY=$Y

# The program and the helper are Wayland clients only.
wayland() { env -u DISPLAY WAYLAND_DISPLAY=wayland-dkedit QT_QPA_PLATFORM=wayland "$@"; }

# ---- Where to click: the helper builds the same window on this compositor ------
wayland "$HELPER" clicks >"$WORK/clicks.txt" 2>"$WORK/helper.log" ||
    fail "e2e_helper clicks: $(cat "$WORK/helper.log")"
read -r _ _ CX CY < <(grep '^click canvas ' "$WORK/clicks.txt")
read -r _ _ GX GY < <(grep '^click ToolButton1 ' "$WORK/clicks.txt")
read -r _ _ OX OY < <(grep '^click ToolButton2 ' "$WORK/clicks.txt")
[ -n "$CX" ] && [ -n "$GX" ] && [ -n "$OX" ] || fail "no positions: $(cat "$WORK/clicks.txt")"

# ---- The session ------------------------------------------------------------
# The map to open holds a goblin already; the session adds an ork and a goblin
# (picture pixels of square centres, as at 100 %).
MAP=$WORK/karte.bmp
OPENED=(GOBLIN 72 72)
CLICKS=(ORK 168 136 GOBLIN 264 232)
"$HELPER" board "$MAP" "${OPENED[@]}" >/dev/null || fail "no map to open"
cp "$MAP" "$WORK/opened.bmp"

wayland "$DKEDIT" "$MAP" >"$WORK/dkedit.log" 2>&1 &
PID=$!
# The map's window is up when its first square shows white.
wait_for 15 "the map given on the command line" pixel_is $((WX + CX + 30)) $((WY + CY + 30)) "255,255,255"
click $((WX + OX)) $((WY + OY))
click $((WX + CX + CLICKS[1])) $((WY + CY + CLICKS[2]))
click $((WX + GX)) $((WY + GY))
click $((WX + CX + CLICKS[4])) $((WY + CY + CLICKS[5]))
xdotool key --clearmodifiers ctrl+s
wait_for 10 "the map to be saved" file_changed "$MAP" "$WORK/opened.bmp"
xdotool key --clearmodifiers ctrl+q
wait_for 10 "the program to end" program_ended
wait "$PID"
status=$?
PID=""
[ "$status" -eq 0 ] || fail "dkedit ended with status $status"

"$HELPER" stamps "$MAP" "${OPENED[@]}" "${CLICKS[@]}" || fail "the saved map is not the expected picture"

END=$(date +%s.%N)
awk -v a="$START" -v b="$END" 'BEGIN { printf "PASS: session under Wayland in %.1f s\n", b - a }'
exit 0
