#!/usr/bin/env bash
# End-to-end session with the real program on a virtual X server, driven from
# outside with xdotool as a user would drive it:
#
#   start dkedit, Ctrl+N for a new map, stamp a goblin and orks (tool bar),
#   a door ("Seite 2", first door), the altar ("Seite 1", "Übernehmen"),
#   fill two squares (fill tool), Ctrl+Q and Escape at the save question (the
#   program stays), Ctrl+S into the save dialog, Ctrl+Q;
#   start again, Ctrl+O into the open dialog, check what the map shows, Ctrl+Q;
#   start a third time with the map given on the command line, check what
#   its window shows, Ctrl+Q;
#   start a fourth time: stamp a goblin, rest on another square (its ghost
#   shows), move the pointer onto the frame's background (the ghost goes),
#   Ctrl+N (the new map shows no ghost), rest on the new map (a ghost), move
#   off the program (it goes), Ctrl+Q and "No" at the save question;
#   start a fifth time: Ctrl+N, then each zoom key (Ctrl++ as the shifted
#   equals sign, Ctrl+=, keypad plus, Ctrl+-, Ctrl+0, Ctrl+/, keypad minus),
#   each followed by a click on the first screen pixel of a square, Ctrl+S,
#   Ctrl+Q: the goblins must lie where clicks on the same picture pixels put
#   them at 100 %.
#
# The saved file is compared pixel by pixel with the map that e2e_helper
# builds from the same steps without any window.
#
# Usage: e2e.sh <dkedit> <e2e_helper>. Exit 77 (skipped) without Xvfb or
# xdotool.
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
mkdir -m 700 "$XDG_RUNTIME_DIR"
START=$(date +%s.%N)
PID=""

cleanup() {
    if [ -n "$PID" ] && kill -0 "$PID" 2>/dev/null; then
        kill "$PID" 2>/dev/null
        wait "$PID" 2>/dev/null
    fi
    [ -n "$XPID" ] && kill "$XPID" 2>/dev/null && wait "$XPID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [ -s "$WORK/dkedit.log" ] && { echo "dkedit said:"; tail -20 "$WORK/dkedit.log"; }
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

# ---- Where to click: the helper builds the same window on this display ---------
"$HELPER" clicks >"$WORK/clicks.txt" 2>"$WORK/helper.log" || fail "e2e_helper clicks: $(cat "$WORK/helper.log")"
read -r _ _ CX CY < <(grep '^click canvas ' "$WORK/clicks.txt")
read -r _ _ FX FY < <(grep '^click map ' "$WORK/clicks.txt" | head -1)

# ---- First run: draw a map and save it ----------------------------------------
start_program
keys ctrl+n
# The new map is up when its first square shows white at the first click.
wait_for 10 "the new map" pixel_is $((WX + FX)) $((WY + FY)) "255,255,255"

while read -r _ name x y; do
    [ "$name" = canvas ] && continue
    click $((WX + x)) $((WY + y))
done <"$WORK/clicks.txt"
[ "$(pixel $((WX + FX)) $((WY + FY)))" != "255,255,255" ] || fail "the goblin did not appear on the map"

# Escape at the save question calls "Beenden" off: program, map and changes stay.
keys ctrl+q
wait_for 10 "the save question" window_shown "Confirm"
keys Escape
wait_for 10 "the save question to close" window_gone "Confirm"
sleep 0.3
kill -0 "$PID" 2>/dev/null || fail "Escape at the save question ended the program"
[ "$(pixel $((WX + FX)) $((WY + FY)))" != "255,255,255" ] || fail "the map lost its goblin"
focus_main

MAP=$WORK/maps/karte1
mkdir -p "$WORK/maps"
keys ctrl+s
answer_file_dialog "Speichern unter" "$MAP"
wait_for 10 "the saved map" file_written "$MAP.bmp"
quit_program

"$HELPER" compare "$MAP.bmp" || fail "the saved map is not the expected picture"

# ---- Second run: open the map again --------------------------------------------
start_program
# The client area stays empty until the map opens.
EMPTY=$(pixel $((WX + FX)) $((WY + FY)))
keys ctrl+o
answer_file_dialog "Öffnen" "$MAP.bmp"
shows_saved_map "the opened map" grab
quit_program

# ---- Third run: the map given on the command line ---------------------------------
# A relative name, as a shell passes it.
pushd "$WORK/maps" >/dev/null || fail "no folder $WORK/maps"
start_program karte1.bmp
popd >/dev/null || fail "no way back from $WORK/maps"
shows_saved_map "the map given on the command line" grab3
quit_program

# ---- Fourth run: no phantom pieces --------------------------------------------
"$HELPER" phantom >"$WORK/phantom.txt" 2>"$WORK/helper.log" || fail "e2e_helper phantom: $(cat "$WORK/helper.log")"
# Main-window position of one of the helper's points.
at() { local p; p=$(grep "^$1 " "$WORK/phantom.txt" | cut -d' ' -f2-); set -- $p; echo "$((WX + $1)) $((WY + $2))"; }
ghost_shown() { pixel_is_not $(at "$1") "255,255,255"; }
no_ghost() { pixel_is $(at "$1") "255,255,255"; }
start_program
keys ctrl+n
wait_for 10 "the new map" no_ghost ghost
click $(at goblin)
click $(at stamp)
move_to $(at rest)
wait_for 5 "the ghost of the goblin" ghost_shown ghost
move_to $(at background)
wait_for 5 "the ghost to go when the pointer leaves the map" no_ghost ghost
keys ctrl+n
wait_for 10 "the second map" pixel_is $(at frame2) "0,0,0"
sleep 0.5 # ten ticks of the preview timers
no_ghost ghost2 || fail "the new map shows a ghost the pointer never rested on"
move_to $(at rest2)
wait_for 5 "the ghost on the new map" ghost_shown ghost3
move_to $((WX / 2)) $((WY + WH / 2))
wait_for 5 "the ghost to go when the pointer leaves the program" no_ghost ghost3
focus_main
keys ctrl+q
wait_for 10 "the save question of the stamped map" window_shown "Confirm"
keys n
wait_for 10 "the program to end" program_ended
wait "$PID" || fail "dkedit ended with an error: $(cat "$WORK/dkedit.log")"
PID=""

# ---- Fifth run: zoom by keys -------------------------------------------------
"$HELPER" zoom >"$WORK/zoom.txt" 2>"$WORK/helper.log" || fail "e2e_helper zoom: $(cat "$WORK/helper.log")"
start_program
keys ctrl+n
wait_for 10 "the new map" pixel_is $((WX + FX)) $((WY + FY)) "255,255,255"
PIXELS=()
while read -r _ key x y px py bx by <&3; do
    keys "$key"
    # The board's black lines show at a point that was white before the key.
    wait_for 5 "the map zoomed by $key" pixel_is $((WX + bx)) $((WY + by)) "0,0,0"
    click $((WX + x)) $((WY + y))
    PIXELS+=("$px" "$py")
done 3<"$WORK/zoom.txt"
[ "${#PIXELS[@]}" -ge 14 ] || fail "the zoom stages are missing: $(cat "$WORK/zoom.txt")"
ZOOMED=$WORK/maps/zoomed
keys ctrl+s
answer_file_dialog "Speichern unter" "$ZOOMED"
wait_for 10 "the map saved after zooming" file_written "$ZOOMED.bmp"
quit_program
"$HELPER" zoomcompare "$ZOOMED.bmp" "${PIXELS[@]}" ||
    fail "the clicks at the zoomed map did not land where they land at 100 %"

END=$(date +%s.%N)
awk -v a="$START" -v b="$END" 'BEGIN { printf "PASS: end-to-end session in %.1f s\n", b - a }'
exit 0
