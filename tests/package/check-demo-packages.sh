#!/bin/sh
# make demo on a fresh machine installs what building and running need, and nothing that
# only the tests use; make test installs those too.
#   tests/package/check-demo-packages.sh SOURCE_DIR
set -u
cd "$1" || exit 1
packages() { make -n "$1" BUILD=/nonexistent/build 2>/dev/null | sed -n 's/.*for p in \([^;]*\); do.*/\1/p' | tr ' ' '\n' | sort -u; }
demo=$(packages demo)
test=$(packages test-plain)
status=0
[ -n "$demo" ] || { echo "FAIL: make demo names no packages"; exit 1; }
for p in clang libclang-rt-14-dev libbenchmark-dev lintian desktop-file-utils appstream at-spi2-core \
         python3-pyatspi gir1.2-atspi-2.0 dbus-daemon xvfb xdotool mosquitto mosquitto-clients; do
    if echo "$demo" | grep -qx "$p"; then echo "FAIL: make demo installs $p"; status=1; fi
    if ! echo "$test" | grep -qx "$p"; then echo "FAIL: make test does not install $p"; status=1; fi
done
for p in cmake g++ qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-translations-l10n fonts-wine; do
    echo "$demo" | grep -qx "$p" || { echo "FAIL: make demo does not install $p"; status=1; }
done
[ $status = 0 ] && echo "PASS: make demo installs $(echo $demo | wc -w) packages, none only for tests"
exit $status
