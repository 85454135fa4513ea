#!/usr/bin/env bash
# End-to-end session of recovery copies with the real program on a virtual X
# server: start dkedit, Ctrl+N, stamp a goblin, wait for the recovery copy,
# kill the program with SIGKILL; start it again, answer the offer to restore
# with Return ("Wiederherstellen"), save the restored map (Ctrl+S, a name for
# "New*") and compare it with the map e2e_helper builds from the same clicks;
# Ctrl+Q ends normally and leaves no copy.
#
# Usage: recovery.sh <dkedit> <e2e_helper>. Exit 77 (skipped) without Xvfb or
# xdotool.
# shellcheck source=xsession.sh
source "$(dirname "$0")/xsession.sh"

# ---- Where to click: the helper builds the same window on this display ---------
"$HELPER" clicks >"$WORK/clicks.txt" 2>"$WORK/helper.log" || fail "e2e_helper clicks: $(cat "$WORK/helper.log")"
read -r _ _ FX FY < <(grep '^click map ' "$WORK/clicks.txt" | head -1)
COPIES=$WORK/.local/state/dkedit/recovery
copy_written() { ls "$COPIES"/*.dkr; }
no_copy_left() { ! ls "$COPIES"/*.dkr 2>/dev/null; }

# ---- First run: draw a map, wait for its copy, then the program is killed -----
start_program
draw_new_map
wait_for 10 "the recovery copy" copy_written
kill -KILL "$PID"
wait "$PID" 2>/dev/null
PID=""

# ---- Second run: the offer, answered with Return ("Wiederherstellen") ----------
start_program
wait_for 10 "the offer to restore" window_shown "DK-Edit"
xdotool search --onlyvisible --name "^DK-Edit\$" windowfocus --sync 2>/dev/null
sleep 0.3
import -window root "$WORK/offer.png"
keys Return
wait_for 10 "the offer to close" window_gone "DK-Edit"
wait_for 10 "the restored map" pixel_is_not $((WX + FX)) $((WY + FY)) "255,255,255"
focus_main
MAP=$WORK/maps/karte1
mkdir -p "$WORK/maps"
keys ctrl+s
answer_file_dialog "Speichern unter" "$MAP"
wait_for 10 "the saved map" file_written "$MAP.bmp"
"$HELPER" compare "$MAP.bmp" || fail "the restored map is not the map drawn before the kill"
quit_program
no_copy_left || fail "copies are left after a normal end: $(ls "$COPIES")"
echo "PASS: a killed session's map restored through the question box ($(($(date +%s) - ${START%.*})) s)"
exit 0
