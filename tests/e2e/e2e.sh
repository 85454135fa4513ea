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
#   them at 100 %;
#   start a sixth time and use only keys: Ctrl+N, Tab and Space for the
#   goblin, the arrow keys and Space to place it, the fill tool and Return to
#   fill a square, Alt+K and B for "Beenden", "No" at the save question.
#
# The saved file is compared pixel by pixel with the map that e2e_helper
# builds from the same steps without any window.
#
# Usage: e2e.sh <dkedit> <e2e_helper>. Exit 77 (skipped) without Xvfb or
# xdotool.
# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"

# ---- Where to click: the helper builds the same window on this display ---------
"$HELPER" clicks >"$WORK/clicks.txt" 2>"$WORK/helper.log" || fail "e2e_helper clicks: $(cat "$WORK/helper.log")"
read -r _ _ CX CY < <(grep '^click canvas ' "$WORK/clicks.txt")
read -r _ _ FX FY < <(grep '^click map ' "$WORK/clicks.txt" | head -1)

# ---- First run: draw a map and save it ----------------------------------------
start_program
draw_new_map

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

# ---- Sixth run: the keyboard alone --------------------------------------------
# The middle of square (col, row) on the screen, the map at 100 %.
square() { echo "$((WX + CX + 40 + 32 * $1)) $((WY + CY + 40 + 32 * $2))"; }
start_program
keys ctrl+n
wait_for 10 "the new map" pixel_is $(square 2 1) "255,255,255"
# The map has the keys: Tab to the goblin, Space, Shift+Tab back to the map,
# two squares right and one down, Space; one more right moves its ghost away.
keys Tab space shift+Tab Right Right Down space Right
wait_for 5 "the goblin placed by keys" pixel_is_not $(square 2 1) "255,255,255"
# The fill tool is the tenth stop after the map.
keys Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space
keys shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab \
    shift+Tab Return
wait_for 5 "the square filled by keys" pixel_is $(square 3 1) "128,128,128"
# "Karte" by its letter, then "Beenden" by its letter; "No" at the question.
keys alt+k b
wait_for 10 "the save question of the keyboard's map" window_shown "Confirm"
keys n
wait_for 10 "the program to end" program_ended
wait "$PID" || fail "dkedit ended with an error: $(cat "$WORK/dkedit.log")"
PID=""

END=$(date +%s.%N)
awk -v a="$START" -v b="$END" 'BEGIN { printf "PASS: end-to-end session in %.1f s\n", b - a }'
exit 0
