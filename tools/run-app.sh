#!/bin/sh
# Installs what is missing, builds Corvane and starts it: with the simulated synchronizer
# (--demo) unless other options are given.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup-deps.sh
# A build folder of its own: the test command's folders keep their settings.
cmake -S . -B build-app -DCMAKE_BUILD_TYPE=Release -DCORVANE_BENCH=OFF -DCORVANE_TESTS=OFF
cmake --build build-app -j"$(nproc)" --target corvane corvane-cli corvane-sim
if [ "$#" -eq 0 ]; then
    set -- --demo
fi
exec ./build-app/src/corvane "$@"
