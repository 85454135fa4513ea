#!/usr/bin/env python3
"""Reads DK-Edit's windows through the accessibility bus (AT-SPI), as a screen
reader does, and checks the names it finds.

Usage: atspi_names.py <expected-names.txt>

The expected file holds the name of every tool bar button and palette entry,
one a line (a name may stand on several lines: pieces that share a hint).
Exit 0 when every one of them is found (at least as often as listed) on an
object that is no bare group, the ten tool bar buttons are push buttons, the
map given on the command line is there as "Karte" and the menus and their
items are named by their captions; 1 otherwise; 2 when the program does not
show up on the bus.
"""
import collections
import sys
import time

import pyatspi

APP_NAME = "DK-Edit"


def find_app(seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == APP_NAME:
                return app
        time.sleep(0.2)
    return None


def walk(node, found, depth=0):
    if node is None or depth > 40:
        return
    try:
        name = node.name
        role = node.getRoleName()
        count = node.childCount
    except Exception:  # an object that went away meanwhile
        return
    if name:
        found.append((name, role))
    for i in range(count):
        walk(node.getChildAtIndex(i), found, depth + 1)


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        expected = collections.Counter(line.rstrip("\n") for line in f if line.strip())
    app = find_app(20)
    if app is None:
        print("FAIL: %s is not on the accessibility bus" % APP_NAME)
        return 2
    found = []
    walk(app, found)
    names = collections.Counter(name for name, role in found if role != "panel")
    status = 0
    for name, count in sorted(expected.items()):
        if names[name] < count:
            print("FAIL: %r found %d times, expected %d" % (name, names[name], count))
            status = 1
    buttons = [name for name, role in found if role == "push button"]
    for hint in ("Goblin", "Ork", "Sumpfling", "Skelett", "Zombie", "Mumie",
                 "Chaos-Krieger", "Gargoyle", "Korrektur-Modus", "Füllmodus"):
        if hint not in buttons:
            print("FAIL: no push button %r on the tool bar" % hint)
            status = 1
    # Menus and their items read as their captions, without the mark of the
    # letter Alt chooses them by.
    menus = [name for name, role in found if role in ("menu", "menu item")]
    for caption in ("Karte", "Bearbeiten", "Werkzeuge", "Fenster", "Info", "Neu",
                    "Speichern als...", "Rückgängig", "Über DK-Edit..."):
        if caption not in menus:
            print("FAIL: no menu or menu item %r" % caption)
            status = 1
    for name in menus:
        if "&" in name:
            print("FAIL: menu name %r shows its mnemonic mark" % name)
            status = 1
    if "Karte" not in names:
        print("FAIL: the map picture has no name")
        status = 1
    print("%d named objects read through AT-SPI, %d names expected" % (len(found), sum(expected.values())))
    return status


if __name__ == "__main__":
    sys.exit(main())
