#!/bin/sh
# Pictures of the windows under Xvfb with a window manager (openbox): at 9, 10, 11 and
# 12 pt, at 10 pt with the fonts drawn 1.5 times larger (Xft.dpi 144), and at 10 pt
# with the whole interface scaled 1.5 times (QT_SCALE_FACTOR=1.5). Needs xvfb, x11-xserver-utils (xrdb)
# and openbox.
#   sh tools/screenshots/take.sh BUILD_DIR OUTDIR
set -eu
tool="$1/tools/screenshots/corvane-screenshots"
out="$2"
export QT_QPA_PLATFORM=xcb
# shoot NAME POINTS [DPI]: one run of the tool on a screen of its own; DPI sets the
# desktop's font resolution (Xft.dpi), as a desktop's font scaling does.
shoot() {
    xvfb-run -a -s "-noreset -screen 0 2560x1600x24" \
        sh -c 'echo "Xft.dpi: $1" | xrdb -nocpp -merge; shift; openbox >/dev/null 2>&1 & sleep 1; exec "$@"' \
        sh "${3:-96}" "$tool" "$out/$1" --point-size "$2" --screen
}
for pt in 9 10 11 12; do
    shoot "$pt-pt" "$pt"
done
shoot fonts-1.5x 10 144
(export QT_SCALE_FACTOR=1.5 && shoot scaled-1.5x 10)
