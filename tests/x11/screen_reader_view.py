#!/usr/bin/python3
# Prints what a screen reader finds in the tool's main window over AT-SPI: role and
# name, one line per object, indented by depth. With --press NAME (more than once) it
# first presses the buttons of those names through their accessible actions, as a screen
# reader user would; with --window TITLE it prints that window instead.
# Usage: screen_reader_view.py [--press NAME]... [--window TITLE]
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
    titles = ("Visualisierung", "Visualization")
    args = sys.argv[1:]
    while len(args) >= 2:
        option, value = args.pop(0), args.pop(0)
        if option == "--window":
            titles = (value,)
        elif option == "--press":
            if not any(press(window, value) for window in app):
                print("FAIL: no button " + value)
                return 1
            time.sleep(0.5)
    for window in app:
        if window.name in titles:
            out = []
            walk(window, 0, out)
            print("\n".join(out))
            return 0
    print("FAIL: no window %s among %s" % (" or ".join(titles), ", ".join(w.name for w in app)))
    return 1


sys.exit(main())
