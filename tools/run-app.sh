#!/bin/sh
# Installs what is missing, builds Corvane and starts it.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCORVANE_BENCH=OFF
cmake --build build -j"$(nproc)" --target corvane
exec ./build/src/corvane
