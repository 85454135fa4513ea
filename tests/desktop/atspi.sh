#!/usr/bin/env bash
# Names for assistive technology, read the way a screen reader reads them:
# the real program on a virtual X server with its own D-Bus session and the
# AT-SPI accessibility bus, a map given on the command line, and
# atspi_names.py walking the program's objects through pyatspi.
#
# Usage: atspi.sh <dkedit> <e2e_helper>. Exit 77 (skipped, with the reason)
# where Xvfb, D-Bus, the AT-SPI bus or pyatspi is missing or the bus does not
# start; a program that does not show up on a running bus fails.
set -u
DKEDIT=$1
HELPER=$2
HERE=$(cd "$(dirname "$0")" && pwd)

skip() { echo "SKIP: $*"; exit 77; }

for tool in xvfb-run xauth dbus-run-session dbus-send convert; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
# Debian's pyatspi belongs to the system's Python, whatever else is on the path.
PYTHON=/usr/bin/python3
[ -x "$PYTHON" ] || PYTHON=python3
"$PYTHON" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [ -x "$candidate" ] && launcher=$candidate
done
[ -n "$launcher" ] || skip "the AT-SPI bus launcher (at-spi2-core) is not installed"

if [ -z "${DK_ATSPI_DISPLAY:-}" ]; then
    export DK_ATSPI_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        dbus-run-session -- bash "$0" "$@"
fi

WORK=$(mktemp -d)
export HOME=$WORK XDG_CONFIG_HOME=$WORK/config XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
PID=""
BUS=""
cleanup() {
    [ -n "$PID" ] && kill "$PID" 2>/dev/null && wait "$PID" 2>/dev/null
    [ -n "$BUS" ] && kill "$BUS" 2>/dev/null && wait "$BUS" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# The accessibility bus, switched on as a desktop with a screen reader has it.
"$launcher" --launch-immediately >"$WORK/bus.log" 2>&1 &
BUS=$!
for _ in $(seq 50); do
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1 && break
    sleep 0.1
done
dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 || skip "the AT-SPI bus does not start here: $(cat "$WORK/bus.log")"
dbus-send --session --dest=org.a11y.Bus --type=method_call /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled variant:boolean:true \
    >/dev/null 2>&1

"$HELPER" names >"$WORK/expected.txt" || { echo "FAIL: e2e_helper names"; exit 1; }
convert -size 880x656 xc:white BMP3:"$WORK/karte.bmp"

QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$DKEDIT" "$WORK/karte.bmp" \
    >"$WORK/dkedit.log" 2>&1 &
PID=$!

"$PYTHON" "$HERE/atspi_names.py" "$WORK/expected.txt"
status=$?
[ "$status" -eq 2 ] && echo "program output: $(cat "$WORK/dkedit.log")"
[ "$status" -eq 0 ] && echo "PASS: every tool bar button and palette entry is named on the accessibility bus"
[ "$status" -eq 0 ]
