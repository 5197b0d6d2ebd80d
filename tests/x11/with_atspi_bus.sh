#!/bin/sh
# Runs a command with accessibility switched on over AT-SPI: an accessibility bus of its
# own inside a fresh D-Bus session (under xvfb-run), and Qt's bridge forced on.
# Usage: with_atspi_bus.sh <command> [arguments]
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- "$0" "$@"
fi
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
trap 'kill $bus 2>/dev/null || true' EXIT
sleep 0.5
QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"
