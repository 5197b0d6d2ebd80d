#!/usr/bin/python3
# How long the running tool takes to answer a screen reader: the round trip of one AT-SPI
# request (the main window's extents) over and over for SECONDS, answered on the tool's
# user-interface thread. With --press NAME ... it first presses these buttons through
# their accessible action, as a screen reader user would.
# Prints "n=<requests> median=<ms> p95=<ms> p99=<ms> worst=<ms>".
# Usage: atspi_latency.py SECONDS [--press NAME ...]
import sys
import time

import pyatspi

from atspi_tool import find_app, press

seconds = float(sys.argv[1])
app = find_app(time.time() + 10)
if app is None:
    sys.exit("the tool did not appear on the accessibility bus")
for name in sys.argv[3:] if len(sys.argv) > 2 and sys.argv[2] == "--press" else []:
    if not press(app, name):
        sys.exit("no button " + name)
    time.sleep(0.3)
window = app.getChildAtIndex(0)
latencies = []
end = time.time() + seconds
while time.time() < end:
    t0 = time.perf_counter()
    window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    latencies.append((time.perf_counter() - t0) * 1000)
latencies.sort()


def at(q):
    return latencies[min(len(latencies) - 1, int(q * len(latencies)))]


print("n=%d median=%.2f p95=%.2f p99=%.2f worst=%.2f" % (len(latencies), at(0.5), at(0.95), at(0.99), latencies[-1]))
