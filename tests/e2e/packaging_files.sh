#!/usr/bin/env bash
# The desktop entry and the AppStream metadata pass their validators, and the
# icon the desktop entry names is installed in every size. Skipped (77) where
# the validators are not installed.
set -u
dir=$1
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
status=0
desktop-file-validate "$dir/dkedit.desktop" || status=1
# Hints are fine; warnings and errors are not.
appstreamcli validate --no-net "$dir/io.github.dkedit.DKEdit.metainfo.xml" || status=1
icon=$(sed -n 's/^Icon=//p' "$dir/dkedit.desktop")
for size in 16 32 48 64 128 256; do
    [ -s "$dir/icons/$icon-$size.png" ] || { echo "missing icon $icon-$size.png"; status=1; }
done
[ -s "$dir/icons/$icon.svg" ] || { echo "missing icon $icon.svg"; status=1; }
exit $status
