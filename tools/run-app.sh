#!/bin/sh
# Installs what is missing, builds Corvane and starts it.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup-deps.sh
# A build folder of its own: the test command's folders keep their settings.
cmake -S . -B build-app -DCMAKE_BUILD_TYPE=Release -DCORVANE_BENCH=OFF
cmake --build build-app -j"$(nproc)" --target corvane
exec ./build-app/src/corvane "$@"
