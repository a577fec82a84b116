#!/bin/sh
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a fixed number of inputs: the settings-file fuzzer seeded with the
# example settings files, the RFC 2217 stream fuzzer with a short server session. A crash,
# a sanitizer report, a failed check, a hang or a leak keeps the input that caused it and
# makes this script fail. The stream fuzzer takes its input cut at random or, as a TLS
# line delivers it, record by record. Each figure printed carries its fuzzer's name as a prefix.
# Run from the repository root. Settings (environment):
#   FUZZ_BUILD_DIR      build folder (build-fuzz)
#   FUZZ_RUNS           settings-file inputs to run (200000, about a minute on a 2-core machine)
#   FUZZ_RFC2217_RUNS   RFC 2217 stream inputs to run (200000)
#   FUZZ_JOBS           parallel compile jobs (2)
set -eu

BUILD="${FUZZ_BUILD_DIR:-build-fuzz}"
RUNS="${FUZZ_RUNS:-200000}"
RFC2217_RUNS="${FUZZ_RFC2217_RUNS:-200000}"
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
echo "== building settingsfile_fuzzer and rfc2217_fuzzer"
cmake --build "$BUILD" --target settingsfile_fuzzer rfc2217_fuzzer -j"$JOBS"

failed=0

# fuzz NAME RUNS SEED-FOLDER FUZZER-OPTIONS...: one fixed run of fuzz/NAME_fuzzer, its
# figures printed as NAME_fuzz_<figure>=<value>.
fuzz() {
    name=$1
    runs=$2
    seeds=$3
    shift 3
    fuzzer="$BUILD/fuzz/${name}_fuzzer"
    corpus="$BUILD/fuzz-corpus/$name"
    artifacts="$BUILD/fuzz-artifacts/$name"
    log="$BUILD/fuzz-$name.log"
    # Every run starts from the seeds alone, so its length depends only on the run count.
    rm -rf "$corpus" "$artifacts"
    mkdir -p "$corpus" "$artifacts"

    echo "== fuzzing $name: $runs inputs"
    start=$(date +%s)
    status=0
    "$fuzzer" -runs="$runs" -timeout=10 -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$@" "$corpus" "$seeds" >"$log" 2>&1 || status=$?
    end=$(date +%s)

    done_line=$(grep '^#[0-9]*[[:space:]]*DONE' "$log" | tail -n 1 || true)
    echo "${name}_fuzz_runs=$(stat "$log" number_of_executed_units)"
    echo "${name}_fuzz_seconds=$((end - start))"
    echo "${name}_fuzz_exec_per_sec=$(stat "$log" average_exec_per_sec)"
    echo "${name}_fuzz_coverage=$(field "$done_line" cov)"
    echo "${name}_fuzz_features=$(field "$done_line" ft)"
    echo "${name}_fuzz_corpus=$(field "$done_line" corp)"
    echo "${name}_fuzz_new_units=$(stat "$log" new_units_added)"
    echo "${name}_fuzz_peak_rss_mb=$(stat "$log" peak_rss_mb)"
    sed -n "s/^INFO: Seed: \([0-9]*\).*/${name}_fuzz_seed=\1/p" "$log"

    findings=$(find "$artifacts" -type f | wc -l)
    echo "${name}_fuzz_findings=$findings"
    if [ "$status" -ne 0 ] || [ "$findings" -ne 0 ]; then
        echo "run-fuzz: $name: the fuzzer found a problem (exit status $status); log: $log" >&2
        tail -n 60 "$log" >&2
        find "$artifacts" -type f >&2
        failed=1
    fi
}

stat() {
    sed -n "s/^stat::$2: *//p" "$1" | tail -n 1
}
field() {
    echo "$1" | sed -n "s/.* $2: \([0-9/a-zA-Z]*\).*/\1/p"
}

fuzz settingsfile "$RUNS" fuzz/seeds/settingsfile -max_len=8192 -dict=fuzz/settingsfile.dict

# The stream seed: two cuts (3 and 5 bytes in), then DO COM-PORT, WILL and DO BINARY, a
# baud rate acknowledged, a line state and data with an escaped 0xFF.
RFC2217_SEEDS="$BUILD/fuzz-seeds/rfc2217"
rm -rf "$RFC2217_SEEDS"
mkdir -p "$RFC2217_SEEDS"
printf '\002\003\005\377\375\054\377\373\000\377\375\000\377\372\054\145\000\000\045\200\377\360' \
    >"$RFC2217_SEEDS/session"
printf '\377\372\054\152\140\377\360\060\377\377\061' >>"$RFC2217_SEEDS/session"
# The same talk as a TLS line delivers it: three records, cut inside a command and inside
# a subnegotiation.
printf '\200\000\003\377\375\054\000\004\377\373\000\377' >"$RFC2217_SEEDS/tls-records"
printf '\000\020\375\000\377\372\054\145\000\000\045\200\377\360\060\377\377\061' \
    >>"$RFC2217_SEEDS/tls-records"
fuzz rfc2217 "$RFC2217_RUNS" "$RFC2217_SEEDS" -max_len=4096 -dict=fuzz/rfc2217.dict

if [ "$failed" -ne 0 ]; then
    exit 1
fi
echo "== fuzzing passed"
