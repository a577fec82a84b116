#!/bin/sh
# Installs what is missing, builds and runs the whole test suite: once as a normal
# build, once with AddressSanitizer and UndefinedBehaviorSanitizer (any report fails),
# then a fixed run of the settings-file fuzzer, and last the Debian package, built and checked.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup-deps.sh --with-fuzz --with-package-check
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
echo "== the Debian package, built and checked"
cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF
cmake --build build-pkg -j"$JOBS"
rm -f build-pkg/corvane_*.deb
(cd build-pkg && cpack -G DEB)
sh tests/package/check-package.sh build-pkg

echo "== all tests passed"
