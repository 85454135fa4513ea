#!/usr/bin/env bash
# Makes the two pictures of the README:
#   docs/main-window.png  the main window with a map full of pieces
#   docs/quest-sheet.png  the printed quest sheet of that map
# Builds tools/screenshots in the build directory (default build/, or $1) and
# runs it headless; the sheet is printed to PDF and rendered with pdftoppm.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cd "$root"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target screenshots -j"$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs

QT_QPA_PLATFORM=offscreen "$build/tools/screenshots/screenshots" \
    "$work/main-window.png" "$work/quest-sheet.pdf"

# 60 dpi shows the whole A4 page at a size that fits a README.
pdftoppm -r 60 -png -singlefile "$work/quest-sheet.pdf" "$work/quest-sheet"

cp "$work/main-window.png" docs/main-window.png
cp "$work/quest-sheet.png" docs/quest-sheet.png
echo "docs/main-window.png docs/quest-sheet.png written"
