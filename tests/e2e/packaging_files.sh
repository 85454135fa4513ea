#!/usr/bin/env bash
# The desktop entry and the AppStream metadata pass their validators, the
# icon the desktop entry names is installed in every size, and the quest MIME
# type builds into a MIME database that knows *.dke files and the icon they
# show. Skipped (77) where the validators are not installed.
set -u
dir=$1
for tool in desktop-file-validate appstreamcli update-mime-database; do
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

# The desktop entry takes files and names the two kinds it opens.
grep -qx 'Exec=dkedit %F' "$dir/dkedit.desktop" || { echo "Exec does not take files"; status=1; }
grep -qx 'MimeType=image/bmp;application/x-dkedit-quest;' "$dir/dkedit.desktop" ||
    { echo "MimeType lacks the map or quest type"; status=1; }

# The quest type in a MIME database of its own.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/mime/packages"
cp "$dir/dkedit-mime.xml" "$work/mime/packages/dkedit.xml"
# (It notes on stderr that the folder is not on the search path; only its
# status counts.)
if XDG_DATA_DIRS=$work update-mime-database "$work/mime" 2>"$work/errors"; then
    grep -q '^[0-9]*:application/x-dkedit-quest:\*\.dke$' "$work/mime/globs2" ||
        { echo "*.dke is not a quest file"; status=1; }
    grep -qx 'application/x-dkedit-quest:application-x-dkedit-quest' "$work/mime/icons" ||
        { echo "the quest type has no icon of its own"; status=1; }
else
    echo "update-mime-database: $(cat "$work/errors")"
    status=1
fi
quest_icon=application-x-dkedit-quest
for size in 16 32 48 64 128 256; do
    [ -s "$dir/icons/$quest_icon-$size.png" ] || { echo "missing icon $quest_icon-$size.png"; status=1; }
done
[ -s "$dir/icons/$quest_icon.svg" ] || { echo "missing icon $quest_icon.svg"; status=1; }
exit $status
