#!/bin/sh
# Checks the Debian package that `cpack -G DEB` made in BUILD_DIR: its control fields and
# files, the menu entry and software-centre data against their validators, lintian, an
# install into a scratch root with dpkg, the installed programs, and the removal.
#   sh tests/package/check-package.sh BUILD_DIR
set -eu
build="$1"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
ok() { echo "ok: $*"; }

set -- "$build"/corvane_*.deb
[ "$#" -eq 1 ] && [ -f "$1" ] || { echo "FAIL: expected one corvane_*.deb in $build, found: $*"; exit 1; }
deb="$1"
echo "== $deb"

# Control fields: the version from the project, dependencies computed from the binaries.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = corvane ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the project says $version"
[ "$(field Section)" = comm ] || fail "Section is '$(field Section)'"
[ "$(field Priority)" = optional ] || fail "Priority is '$(field Priority)'"
case "$(field Depends)" in
*libqt6core6*libqt6serialport6* | *libqt6serialport6*libqt6core6*) ok "Depends: $(field Depends)" ;;
*) fail "Depends lacks the Qt libraries: '$(field Depends)'" ;;
esac
case "$(field Depends)" in
*qt6-qpa-plugins*) ;;
*) fail "Depends lacks qt6-qpa-plugins (without it no window can open)" ;;
esac
[ "$(field Description | wc -l)" -ge 4 ] || fail "Description has no long text"

# The files an installation needs.
listing="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for path in \
    ./usr/bin/corvane ./usr/bin/corvane-cli \
    ./usr/share/applications/org.corvane.Corvane.desktop \
    ./usr/share/metainfo/org.corvane.Corvane.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/corvane.svg \
    ./usr/share/icons/hicolor/48x48/apps/corvane.png \
    ./usr/share/icons/hicolor/128x128/apps/corvane.png \
    ./usr/share/icons/hicolor/256x256/apps/corvane.png \
    ./usr/share/man/man1/corvane.1.gz ./usr/share/man/man1/corvane-cli.1.gz \
    ./usr/share/doc/corvane/copyright ./usr/share/doc/corvane/changelog.gz; do
    echo "$listing" | grep -qx "$path" || fail "the package lacks $path"
done
echo "$listing" | grep -v '/$' | sed 's/^/  /'

unpacked="$(mktemp -d)"
root="$(mktemp -d)"
trap 'rm -rf "$unpacked" "$root"' EXIT
dpkg-deb -x "$deb" "$unpacked"

if out="$(desktop-file-validate "$unpacked/usr/share/applications/org.corvane.Corvane.desktop" 2>&1)" && [ -z "$out" ]; then
    ok "desktop-file-validate: clean"
else
    fail "desktop-file-validate: $out"
fi
if out="$(appstreamcli validate --no-net --explain "$unpacked/usr/share/metainfo/org.corvane.Corvane.metainfo.xml" 2>&1)"; then
    ok "appstreamcli validate --no-net: $(echo "$out" | tail -n 1)"
else
    fail "appstreamcli validate --no-net: $out"
fi
grep -q "<release version=\"$version\"" "$unpacked/usr/share/metainfo/org.corvane.Corvane.metainfo.xml" ||
    fail "the metainfo has no release $version"
for size in 48 128 256; do
    file "$unpacked/usr/share/icons/hicolor/${size}x$size/apps/corvane.png" | grep -q "$size x $size" ||
        fail "the ${size}x$size icon is not $size pixels square"
done
for page in corvane corvane-cli; do
    warnings="$(zcat "$unpacked/usr/share/man/man1/$page.1.gz" | LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l - 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "man $page: $warnings"
done
zcat "$unpacked/usr/share/man/man1/corvane.1.gz" | grep -q dialout || fail "corvane(1) does not name the dialout group"

# lintian: errors fail the check; everything else is shown.
if lintian_out="$(lintian --fail-on error --display-info "$deb" 2>&1)"; then
    ok "lintian: no errors"
else
    fail "lintian reports errors"
fi
echo "$lintian_out" | grep -v '^running with root' | sed 's/^/  lintian: /'

# Install into a scratch root, as dpkg would on a machine (dependencies are the host's).
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
: >"$root/var/lib/dpkg/status"
if out="$(dpkg --root="$root" --force-depends --force-not-root --log=/dev/null -i "$deb" 2>&1)"; then
    ok "dpkg -i into a scratch root"
else
    fail "dpkg -i into a scratch root: $out"
fi
dpkg --root="$root" -s corvane | grep -q '^Status: install ok installed' || fail "dpkg does not list corvane as installed"
got="$("$root/usr/bin/corvane-cli" --version 2>&1)" || true
[ "$got" = "corvane-cli $version" ] && ok "installed corvane-cli --version: $got" ||
    fail "installed corvane-cli --version printed '$got'"
got="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/corvane" --version 2>&1)" || true
[ "$got" = "corvane $version" ] && ok "installed corvane --version (no display): $got" ||
    fail "installed corvane --version printed '$got'"
if dpkg --root="$root" --force-not-root --log=/dev/null -r corvane >/dev/null &&
    [ -z "$(find "$root/usr" -type f 2>/dev/null)" ]; then
    ok "dpkg -r leaves no file behind"
else
    fail "dpkg -r left: $(find "$root/usr" -type f 2>/dev/null | tr '\n' ' ')"
fi

if [ "$failures" -ne 0 ]; then
    echo "== package check: $failures failed"
    exit 1
fi
echo "== package check passed"
