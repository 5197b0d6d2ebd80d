#!/bin/sh
# Checks the Debian package that `make package` built: control fields, contents, the
# validators and lintian, and that the unpacked binary starts and finds its pictures.
# Usage: tests/package/check-package.sh [build dir]
set -eu

build=${1:-build}
src=$(cd "$(dirname "$0")/../.." && pwd)
id=de.tarmeno.ElectronicFuse
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/electronic-fuse_${version}_$(dpkg --print-architecture).deb
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }

[ -n "$version" ] || { echo "FAIL: no project version in $build/CMakeCache.txt"; exit 1; }
[ -f "$deb" ] || { echo "FAIL: $deb is missing (run make package)"; exit 1; }
echo "== $deb"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM
root=$tmp/root

# Control fields. Depends is computed from the binaries; libqt6svg6 also brings the
# SVG plugins without which every picture would be blank.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = electronic-fuse ] && pass "Package" || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] && pass "Version $version" || fail "Version is '$(field Version)'"
[ "$(field Section)" = electronics ] && pass "Section" || fail "Section is '$(field Section)'"
[ "$(field Recommends)" = "fonts-wine, qt6-translations-l10n" ] && pass "Recommends" || fail "Recommends is '$(field Recommends)'"
field Maintainer | grep -q '^[^<]\+ <[^@ ]\+@[^> ]\+>$' && pass "Maintainer" || fail "Maintainer is '$(field Maintainer)'"
for lib in libc6 libqt6core6 libqt6widgets6 libqt6serialport6 libqt6svg6; do
    field Depends | grep -q "\\b$lib\\b" && pass "Depends on $lib" || fail "Depends lacks $lib: $(field Depends)"
done
[ "$(field Description | wc -l)" -ge 3 ] && pass "short and long description" || fail "Description too short"

# Contents.
dpkg-deb -x "$deb" "$root"
for f in usr/bin/electronic-fuse usr/bin/fuse-simulator usr/bin/efusectl \
         usr/share/applications/$id.desktop \
         usr/share/icons/hicolor/scalable/apps/$id.svg \
         usr/share/metainfo/$id.metainfo.xml \
         usr/share/man/man1/electronic-fuse.1.gz usr/share/man/man1/fuse-simulator.1.gz \
         usr/share/man/man1/efusectl.1.gz usr/share/bash-completion/completions/efusectl \
         usr/share/doc/electronic-fuse/copyright usr/share/doc/electronic-fuse/changelog.gz; do
    [ -f "$root/$f" ] && pass "/$f" || fail "/$f is not in the package"
done
for f in usr/bin/electronic-fuse usr/bin/fuse-simulator usr/bin/efusectl; do
    [ -x "$root/$f" ] || fail "/$f is not executable"
done
# Each manual page points at the other two, and at nothing the package does not install.
for page in electronic-fuse fuse-simulator efusectl; do
    text=$(zcat "$root/usr/share/man/man1/$page.1.gz")
    for other in electronic-fuse fuse-simulator efusectl; do
        [ $other = $page ] && continue
        echo "$text" | sed -n '/^\.SH SEE ALSO/,$p' | grep -q "^\.BR $other (1)" \
            && pass "$page(1) SEE ALSO $other(1)" || fail "$page(1) SEE ALSO lacks $other(1)"
    done
    echo "$text" | grep -q 'README' && fail "$page(1) points at a README the package does not install"
done
"$root/usr/bin/fuse-simulator" --help 2>&1 | grep -q 'README' && fail "fuse-simulator --help points at a README"
# The command line's old name is the kernel's FUSE control file system: no alias is left.
if find "$root" -name '*fusectl*' ! -name '*efusectl*' | grep -q .; then
    fail "the package still holds a fusectl: $(find "$root" -name '*fusectl*' ! -name '*efusectl*')"
else
    pass "no fusectl besides efusectl"
fi

# The menu entry starts the packaged binary and names the packaged icon.
desktop=$root/usr/share/applications/$id.desktop
validation=$(desktop-file-validate "$desktop" 2>&1)
if [ $? = 0 ] && [ -z "$validation" ]; then pass "desktop-file-validate, without a hint"; else fail "desktop-file-validate: $validation"; fi
grep -qx 'Categories=Science;Electronics;Engineering;' "$desktop" && pass "Categories" \
    || fail "the desktop entry's categories are $(grep '^Categories=' "$desktop")"
exec_bin=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_bin" ] && pass "Exec=$exec_bin is packaged" || fail "Exec=$exec_bin is not in /usr/bin"
grep -qx "Icon=$id" "$desktop" && pass "Icon=$id" || fail "the desktop entry does not name the icon $id"

# One id names the desktop entry, the icon and the metadata.
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
grep -q "<id>$id</id>" "$metainfo" && pass "metainfo id $id" || fail "the metainfo id is not $id"
grep -q '<url type="homepage">https://' "$metainfo" && pass "metainfo home page" || fail "the metainfo names no home page"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" && pass "launchable $id.desktop" \
    || fail "the metainfo does not launch $id.desktop"
for bin in electronic-fuse fuse-simulator efusectl; do
    grep -q "<binary>$bin</binary>" "$metainfo" && pass "metainfo provides $bin" || fail "the metainfo does not provide $bin"
done

# A new version needs its entry in the changelog and a release in the metadata.
zcat "$root/usr/share/doc/electronic-fuse/changelog.gz" | head -n 1 | grep -q "^electronic-fuse ($version) " \
    && pass "changelog starts with $version" || fail "the changelog does not start with version $version"
grep -q "<release version=\"$version\" date=\"[0-9-]\+\"" "$metainfo" && pass "metainfo release $version" \
    || fail "the metainfo has no dated release $version"

# AppStream: the file on its own, then the installed tree (launchable desktop entry present).
if appstreamcli validate --no-net "$metainfo"; then
    pass "appstreamcli validate"; else fail "appstreamcli validate"; fi
if appstreamcli validate-tree --no-net "$root"; then
    pass "appstreamcli validate-tree"; else fail "appstreamcli validate-tree"; fi

# lintian: no errors and no warnings (info tags are listed, see README).
if lintian --fail-on error,warning --display-info "$deb"; then
    pass "lintian: no errors or warnings"; else fail "lintian"; fi

# Pictures and translations are compiled-in resources; rcc stores their names in UTF-16BE.
hex() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -tx1 -v | tr -d ' \n'; }
od -An -tx1 -v "$root/usr/bin/electronic-fuse" | tr -d ' \n' > "$tmp/binary.hex"
names=$(sed -n 's:.*<file[^>]*>\(.*\)</file>.*:\1:p' "$src"/resources/*.qrc | sed 's:.*/::')
for name in $names electronicfuse_en.qm; do
    grep -q "$(hex "$name")" "$tmp/binary.hex" && pass "resource $name compiled in" \
        || fail "resource $name is not in the binary"
done

# The unpacked binary on Qt's offscreen platform, with a home of its own: it must still run
# after a few seconds, print nothing but Qt's plugin loads, and have loaded the SVG image
# plugin, which Qt only does once a picture has actually been opened.
mkdir -p "$tmp/home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
(cd "$tmp" && exec env HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime" XDG_CONFIG_HOME="$tmp/home/.config" \
    XDG_DATA_HOME="$tmp/home/.local/share" QT_QPA_PLATFORM=offscreen \
    QT_LOGGING_RULES='qt.core.library.debug=true' \
    "$root/usr/bin/electronic-fuse" > "$tmp/stdout" 2> "$tmp/stderr") &
pid=$!
sleep 4
if kill -0 "$pid" 2>/dev/null; then
    pass "the unpacked binary is running after 4 s"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
else
    wait "$pid" 2>/dev/null && status=0 || status=$?
    fail "the unpacked binary ended early with status $status"
fi
if grep -v '^qt\.core\.library: .* loaded library$' "$tmp/stderr" "$tmp/stdout" > "$tmp/messages"; then
    fail "the unpacked binary printed:"; cat "$tmp/messages"
else
    pass "no warnings from the unpacked binary"
fi
grep -q 'imageformats/libqsvg\.so" loaded library' "$tmp/stderr" && pass "pictures opened (SVG plugin loaded)" \
    || fail "the unpacked binary opened no SVG picture"

if [ "$failures" -ne 0 ]; then
    echo "== $failures check(s) failed"
    exit 1
fi
echo "== all package checks passed"
