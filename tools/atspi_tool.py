# The running tool as a screen reader reaches it over AT-SPI (Debian's pyatspi): finding
# it on the accessibility bus and pressing its buttons through their accessible action.
# Shared by tools/atspi_latency.py and the screen-reader test in tests/x11.
import time

import pyatspi


def find_app(deadline):
    """The tool's application object, or None if it has not appeared by deadline."""
    while time.time() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name in ("electronic-fuse", "Electronic fuse"):
                return app
        time.sleep(0.2)
    return None


def press(node, name):
    """Presses the push button called name below node; False when there is none."""
    if node is None:
        return False
    if node.getRoleName() == "push button" and node.name == name:
        action = node.queryAction()
        for i in range(action.nActions):
            if action.getName(i).lower() == "press":
                action.doAction(i)
                return True
    return any(press(node.getChildAtIndex(i), name) for i in range(node.childCount))
