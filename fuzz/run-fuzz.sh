#!/bin/sh
# Builds the settings-file fuzzer with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for a fixed number of inputs, seeded with the
# example settings files. A crash, a sanitizer report, a failed check, a hang or a leak
# ends the run, keeps the input that caused it and makes this script fail.
# Run from the repository root. Settings (environment):
#   FUZZ_BUILD_DIR  build folder (build-fuzz)
#   FUZZ_RUNS       inputs to run (200000, about a minute on a 2-core machine)
#   FUZZ_JOBS       parallel compile jobs (2)
set -eu

BUILD="${FUZZ_BUILD_DIR:-build-fuzz}"
RUNS="${FUZZ_RUNS:-200000}"
JOBS="${FUZZ_JOBS:-2}"

for tool in clang clang++ cmake; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "run-fuzz: $tool not found (tools/setup-deps.sh --with-fuzz installs clang)" >&2
        exit 2
    fi
done

# Make files, whatever generator the environment prefers: a folder configured with
# another one is configured afresh.
GENERATOR="Unix Makefiles"
CACHE="$BUILD/CMakeCache.txt"
if [ -f "$CACHE" ] && ! grep -qx "CMAKE_GENERATOR:INTERNAL=$GENERATOR" "$CACHE"; then
    rm -rf "$CACHE" "$BUILD/CMakeFiles"
fi

mkdir -p "$BUILD"
echo "== configuring $BUILD with clang"
cmake -S . -B "$BUILD" -G "$GENERATOR" \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_FUZZ=ON -DCORVANE_BENCH=OFF >"$BUILD/configure.log" 2>&1 ||
    { cat "$BUILD/configure.log" >&2; exit 1; }
echo "== building settingsfile_fuzzer"
cmake --build "$BUILD" --target settingsfile_fuzzer -j"$JOBS"

FUZZER="$BUILD/fuzz/settingsfile_fuzzer"
CORPUS="$BUILD/fuzz-corpus"
ARTIFACTS="$BUILD/fuzz-artifacts"
LOG="$BUILD/fuzz.log"
# Every run starts from the seeds alone, so its length depends only on FUZZ_RUNS.
rm -rf "$CORPUS" "$ARTIFACTS"
mkdir -p "$CORPUS" "$ARTIFACTS"

echo "== fuzzing: $RUNS inputs"
start=$(date +%s)
status=0
"$FUZZER" -runs="$RUNS" -max_len=8192 -timeout=10 -print_final_stats=1 \
    -dict=fuzz/settingsfile.dict -artifact_prefix="$ARTIFACTS/" \
    "$CORPUS" tests/data/settings >"$LOG" 2>&1 || status=$?
end=$(date +%s)

stat() {
    sed -n "s/^stat::$1: *//p" "$LOG" | tail -n 1
}
done_line=$(grep '^#[0-9]*[[:space:]]*DONE' "$LOG" | tail -n 1 || true)
field() {
    echo "$done_line" | sed -n "s/.* $1: \([0-9/a-zA-Z]*\).*/\1/p"
}
echo "fuzz_runs=$(stat number_of_executed_units)"
echo "fuzz_seconds=$((end - start))"
echo "fuzz_exec_per_sec=$(stat average_exec_per_sec)"
echo "fuzz_coverage=$(field cov)"
echo "fuzz_features=$(field ft)"
echo "fuzz_corpus=$(field corp)"
echo "fuzz_new_units=$(stat new_units_added)"
echo "fuzz_peak_rss_mb=$(stat peak_rss_mb)"
sed -n 's/^INFO: Seed: \([0-9]*\).*/fuzz_seed=\1/p' "$LOG"

findings=$(find "$ARTIFACTS" -type f | wc -l)
echo "fuzz_findings=$findings"
if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
    echo "run-fuzz: the fuzzer found a problem (exit status $status); log: $LOG" >&2
    tail -n 60 "$LOG" >&2
    find "$ARTIFACTS" -type f >&2
    exit 1
fi
echo "== fuzzing passed"
