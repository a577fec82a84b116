#!/bin/sh
# Installs what is missing, builds and runs the whole test suite once, in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer (any report fails); then a fixed run of
# both fuzzers; last the Debian package, built and checked, with the
# benchmarks built beside it and each run once (figures printed; a benchmark that cannot
# run fails, no figure does). Both builds are unity builds: a few sources per
# compilation, so the Qt headers are read far fewer times.
set -eu
cd "$(dirname "$0")/.."
sh tools/setup-deps.sh --with-fuzz --with-package-check --with-test-servers
export QT_QPA_PLATFORM=offscreen
JOBS="$(nproc)"

echo "== sanitizer build and the test suite ($(date +%T))"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON -DCORVANE_BENCH=OFF \
    -DCMAKE_UNITY_BUILD=ON
cmake --build build-asan -j"$JOBS"
echo "== the test suite ($(date +%T))"
(cd build-asan && ctest --output-on-failure -j"$JOBS")

if [ -f fuzz/run-fuzz.sh ]; then
    echo "== fuzzing the settings-file reader and parser and the RFC 2217 stream ($(date +%T))"
    sh fuzz/run-fuzz.sh
fi
echo "== the Debian package, built and checked, and the benchmarks ($(date +%T))"
cmake -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DCORVANE_TESTS=OFF -DCORVANE_BENCH=ON \
    -DCMAKE_UNITY_BUILD=ON
cmake --build build-pkg -j"$JOBS"
rm -f build-pkg/corvane_*.deb
(cd build-pkg && cpack -G DEB)
sh tests/package/check-package.sh build-pkg
echo "== every benchmark once ($(date +%T))"
cmake --build build-pkg --target run-benchmarks

echo "== all tests passed ($(date +%T))"
