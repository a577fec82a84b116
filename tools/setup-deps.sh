#!/bin/sh
# Installs what building and testing Corvane needs on Debian 12, as root or through sudo.
#   --with-fuzz            also clang and its fuzzing runtime
#   --with-package-check   also what checks the Debian package (lintian and the validators)
#   --with-test-servers    also ser2net, the device server the network tests start, and
#                          the virtual display, session bus, accessibility bus and
#                          screen-reader library the accessibility test starts
set -eu
# scdoc makes the manual pages; dpkg-dev and file let cpack compute the package's
# dependencies from the binaries.
PKGS="cmake g++ make qt6-base-dev qt6-serialport-dev qcoro-qt6-dev libgl-dev scdoc dpkg-dev file"
for option in "$@"; do
    case "$option" in
    --with-fuzz) PKGS="$PKGS clang libclang-rt-14-dev" ;;
    --with-package-check) PKGS="$PKGS lintian desktop-file-utils appstream man-db" ;;
    --with-test-servers)
        PKGS="$PKGS ser2net xvfb xauth dbus at-spi2-core python3-pyatspi xdotool" ;;
    *) echo "setup-deps.sh: unknown option $option" >&2; exit 3 ;;
    esac
done
missing=""
for p in $PKGS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq || true
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
