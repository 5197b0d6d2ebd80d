#!/usr/bin/python3
# Prints what a screen reader finds in the tool's main window over AT-SPI: role and
# name, one line per object, indented by depth. With --press NAME it
# first presses the button of that name through its accessible action, as a screen
# reader user would.
# Usage: screen_reader_view.py [--press NAME]
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from atspi_tool import find_app, press  # noqa: E402


def walk(node, depth, out):
    out.append("%s%s | %s" % ("  " * depth, node.getRoleName(), node.name))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1, out)



def main():
    app = find_app(time.time() + 15)
    if app is None:
        print("FAIL: the tool is not on the accessibility bus")
        return 1
    if len(sys.argv) == 3 and sys.argv[1] == "--press":
        if not any(press(window, sys.argv[2]) for window in app):
            print("FAIL: no button " + sys.argv[2])
            return 1
        time.sleep(0.5)
    for window in app:
        if window.name in ("Visualisierung", "Visualization"):
            out = []
            walk(window, 0, out)
            print("\n".join(out))
            return 0
    print("FAIL: no main window among " + ", ".join(w.name for w in app))
    return 1


sys.exit(main())
