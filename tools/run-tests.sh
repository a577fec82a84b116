#!/bin/sh
# Installs what is missing, builds and runs the whole test suite: once as a normal
# build, once with AddressSanitizer and UndefinedBehaviorSanitizer (any report fails),
# then a fixed run of the settings-file fuzzer.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup-deps.sh --with-fuzz
export QT_QPA_PLATFORM=offscreen
JOBS="$(nproc)"

echo "== normal build and tests"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug
cmake --build build -j"$JOBS"
(cd build && ctest --output-on-failure -LE slow)

echo "== sanitizer build and tests"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF
cmake --build build-asan -j"$JOBS"
(cd build-asan && ctest --output-on-failure -LE slow)

if [ -f fuzz/run-fuzz.sh ]; then
    echo "== fuzzing the settings-file reader and parser"
    sh fuzz/run-fuzz.sh
fi
echo "== all tests passed"
