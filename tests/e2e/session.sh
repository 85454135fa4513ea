# Helpers of the end-to-end sessions (sourced by e2e.sh, recovery.sh and wayland.sh, which
# define `fail`): waiting for a condition and reading the screen of the
# session's X server.

# Polls `condition` (a command) every 0.1 s until it holds or `seconds` pass.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local tries=$((seconds * 10))
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -le 0 ] && fail "timed out waiting for $what"
        sleep 0.1
    done
}

program_ended() { ! kill -0 "$PID" 2>/dev/null; }
file_written() { [ -s "$1" ]; }

# Colour of one screen pixel as "r,g,b".
pixel() {
    import -window root -crop "1x1+$1+$2" -depth 8 txt:- 2>/dev/null |
        sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | head -1
}
pixel_is() { [ "$(pixel "$1" "$2")" = "$3" ]; }
