#!/usr/bin/python3
# The connection window as a screen reader reaches it over AT-SPI.
# Usage: connection_view.py open          opens it by the main window's menu item
#        connection_view.py state         prints its state line
#        connection_view.py press NAME    presses its push button NAME
#        connection_view.py check NAME    toggles its check box NAME
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from atspi_tool import find_app, press  # noqa: E402


def find(node, test):
    if node is None:
        return None
    if test(node):
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), test)
        if found is not None:
            return found
    return None


def act(node):
    action = node.queryAction()
    action.doAction(0)


def window(app, names):
    for w in app:
        if w.name in names:
            return w
    return None


def main():
    app = find_app(time.time() + 15)
    if app is None:
        print("FAIL: the tool is not on the accessibility bus")
        return 1
    what = sys.argv[1]
    if what == "open":
        main_window = window(app, ("Visualisierung", "Visualization"))
        item = find(main_window, lambda n: n.getRoleName() == "menu item" and n.name in ("Verbindung...", "Connection..."))
        if item is None:
            print("FAIL: no menu item Verbindung...")
            return 1
        path = []
        node = item
        while node is not None and node.getRoleName() != "menu bar":
            path.insert(0, "%s %s" % (node.getRoleName(), node.name))
            node = node.parent
        print(" > ".join(path))
        act(item)
        return 0
    connection = window(app, ("Verbindung", "Connection"))
    if connection is None:
        print("FAIL: no connection window among " + ", ".join(w.name for w in app))
        return 1
    if what == "state":
        label = find(connection, lambda n: n.getRoleName() == "label" and n.description in ("Zustand", "State"))
        print(label.name if label is not None else "FAIL: no state line")
        return 0
    if what == "press":
        return 0 if press(connection, sys.argv[2]) else 1
    if what == "check":
        box = find(connection, lambda n: n.getRoleName() == "check box" and n.name == sys.argv[2])
        if box is None:
            return 1
        act(box)
        return 0
    return 1


sys.exit(main())
