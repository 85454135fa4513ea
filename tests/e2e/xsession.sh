# The X session both end-to-end sessions on a virtual X server share (sourced
# by e2e.sh and recovery.sh after their usage lines; reads their arguments
# <dkedit> <e2e_helper>): the server, a home of the session's own, cleaning
# up, and driving the real program with xdotool.
set -u

DKEDIT=$1
HELPER=$2

for tool in Xvfb xdotool import; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

export QT_QPA_PLATFORM=xcb
WORK=$(mktemp -d)
XPID=""
# A virtual X server of the session's own. -displayfd lets the server pick a
# free display number itself, so sessions running side by side (another test,
# another checkout) never share or take away each other's display.
# -noreset: the server must not restart (and refuse connections meanwhile)
# each time the last program of one run has closed.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$WORK/display" 2>"$WORK/xvfb.log" &
XPID=$!
for _ in $(seq 100); do
    [ -s "$WORK/display" ] && break
    sleep 0.1
done
if [ ! -s "$WORK/display" ]; then
    echo "FAIL: the virtual X server did not start: $(cat "$WORK/xvfb.log")"
    kill "$XPID" 2>/dev/null
    rm -rf "$WORK"
    exit 1
fi
export DISPLAY=":$(head -1 "$WORK/display")"
# Nothing of the user's: Qt's file dialog keeps its history under here.
export XDG_CONFIG_HOME=$WORK/config HOME=$WORK XDG_RUNTIME_DIR=$WORK/runtime
unset XDG_STATE_HOME
mkdir -m 700 "$XDG_RUNTIME_DIR"
# A session bus of the session's own, as every desktop has one. Without one
# the toolkit's accessibility asks the system to launch a bus at the first
# accessible name, a fork of the starting program while its start-up threads
# may be allocating; under AddressSanitizer such a child can hang for good.
BUSPID=""
if command -v dbus-daemon >/dev/null 2>&1 &&
    dbus-daemon --session --address="unix:dir=$WORK" --fork --nopidfile --print-address=3 --print-pid=4 \
        3>"$WORK/bus" 4>"$WORK/bus.pid" 2>"$WORK/bus.log"; then
    DBUS_SESSION_BUS_ADDRESS=$(head -1 "$WORK/bus")
    BUSPID=$(head -1 "$WORK/bus.pid")
else
    DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/no-bus # refused at once
fi
export DBUS_SESSION_BUS_ADDRESS
START=$(date +%s.%N)
PID=""

cleanup() {
    if [ -n "$PID" ] && kill -0 "$PID" 2>/dev/null; then
        kill "$PID" 2>/dev/null
        wait "$PID" 2>/dev/null
    fi
    [ -n "$XPID" ] && kill "$XPID" 2>/dev/null && wait "$XPID" 2>/dev/null
    [ -n "$BUSPID" ] && kill "$BUSPID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -s "$WORK/dkedit.log" ] && { echo "dkedit said:"; tail -20 "$WORK/dkedit.log"; }
    # Where a program that hangs is waiting.
    if [ -n "$PID" ] && kill -0 "$PID" 2>/dev/null && command -v gdb >/dev/null 2>&1; then
        echo "dkedit is still running; its threads:"
        gdb -p "$PID" -batch -ex "thread apply all bt 30" 2>/dev/null | grep -E '^(Thread|#)' | cut -c1-220
    fi
    import -window root "$WORK/failure.png" 2>/dev/null &&
        cp "$WORK/failure.png" "${TMPDIR:-/tmp}/dkedit-e2e-failure.png" &&
        echo "screen at the failure: ${TMPDIR:-/tmp}/dkedit-e2e-failure.png"
    exit 1
}

# shellcheck source=session.sh
source "$(dirname "$0")/session.sh"

window_shown() { xdotool search --onlyvisible --name "^$1\$"; }
window_gone() { ! xdotool search --onlyvisible --name "^$1\$"; }
pixel_is_not() { local p; p=$(pixel "$1" "$2"); [ -n "$p" ] && [ "$p" != "$3" ]; }

# Moves the pointer and waits until it is there. xdotool's --sync waits for a
# movement, so a move to where the pointer already is would wait for its
# time-out (15 s): such a move is left out.
move_to() {
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell)"
    [ "$X" = "$1" ] && [ "$Y" = "$2" ] && return 0
    xdotool mousemove --sync "$1" "$2"
}

click() {
    move_to "$1" "$2"
    xdotool click 1
    sleep 0.15
}

keys() {
    xdotool key --clearmodifiers "$@"
    sleep 0.15
}

# Starts the program with the given files on its command line.
start_program() {
    "$DKEDIT" "$@" >"$WORK/dkedit.log" 2>&1 &
    PID=$!
    wait_for 15 "the main window" window_shown "Dunkelkrone - Editor"
    local id
    id=$(xdotool search --onlyvisible --name "^Dunkelkrone - Editor\$" | head -1)
    eval "$(xdotool getwindowgeometry --shell "$id")"
    WX=$X WY=$Y WW=$WIDTH WH=$HEIGHT
    focus_main
}

# No window manager: a click gives the window the keyboard focus back (also
# after a dialog closed). The status bar is a harmless place for it.
focus_main() {
    click $((WX + WW / 2)) $((WY + WH - 6))
}

quit_program() {
    focus_main
    keys ctrl+q
    wait_for 10 "the program to end" program_ended
    wait "$PID"
    local status=$?
    PID=""
    [ "$status" -eq 0 ] || fail "dkedit ended with status $status: $(cat "$WORK/dkedit.log")"
}

# Types a path into the file dialog called `title` and confirms it.
answer_file_dialog() {
    local title=$1 path=$2
    wait_for 10 "the dialog \"$title\"" window_shown "$title"
    sleep 0.3
    xdotool type --delay 5 "$path"
    keys Return
    wait_for 10 "the dialog \"$title\" to close" window_gone "$title"
}

# Waits for `what` (a map window) to show, then compares what the screen shows
# of it with the saved map; `name` names the screen grab.
shows_saved_map() {
    local what=$1 name=$2
    wait_for 10 "$what" pixel_is_not $((WX + FX)) $((WY + FY)) "$EMPTY"
    # Away from the map, so no ghost of the stamp covers it, then grab it.
    move_to $((WX + 20)) $((WY + WH - 6))
    sleep 0.3
    import -window root -crop "330x300+$((WX + CX))+$((WY + CY))" +repage "$WORK/$name.png" ||
        fail "no screen grab"
    "$HELPER" screen "$MAP.bmp" "$WORK/$name.png" || fail "$what differs from the saved file"
}

# Ctrl+N, then every map click e2e_helper listed in clicks.txt: the goblins
# the sessions draw. The new map is up when its first square shows white at
# the first click.
draw_new_map() {
    keys ctrl+n
    wait_for 10 "the new map" pixel_is $((WX + FX)) $((WY + FY)) "255,255,255"
    while read -r _ name x y; do
        [ "$name" = canvas ] && continue
        click $((WX + x)) $((WY + y))
    done <"$WORK/clicks.txt"
    [ "$(pixel $((WX + FX)) $((WY + FY)))" != "255,255,255" ] || fail "the goblin did not appear on the map"
}
