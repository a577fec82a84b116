#!/bin/sh
# Installs what building and testing Corvane needs on Debian 12, as root or through sudo.
set -eu
PKGS="cmake g++ make qt6-base-dev qt6-serialport-dev libgl-dev"
if [ "${1:-}" = "--with-fuzz" ]; then
    PKGS="$PKGS clang libclang-rt-14-dev"
fi
missing=""
for p in $PKGS; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq || true
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
