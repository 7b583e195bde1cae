#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz": clang-14 with libFuzzer, ASan and UBSan) and runs each
# for SECONDS seconds (default 30), one after the other.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      e.g. scripts/fuzz.sh 600 fuzz_chunk
#
# Each target starts from its seeds in fuzz/corpus/<target>/ and from what earlier runs found in
# build/fuzz/corpus/<target>/; a crash leaves its input in build/fuzz/artifacts/<target>/ and the
# report in build/fuzz/logs/<target>.log. Ends with a summary line in ctest's form and fails when
# any target fails.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
all_targets=(fuzz_chunk fuzz_bank_file fuzz_setting_file fuzz_host_midi fuzz_port_midi fuzz_format)
if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=("${all_targets[@]}")
fi

mkdir -p build
if ! cmake --preset fuzz >build/fuzz.cmake.log 2>&1; then
    cat build/fuzz.cmake.log
    echo "0% tests passed, ${#targets[@]} tests failed out of ${#targets[@]}"
    exit 1
fi
if ! cmake --build --preset fuzz -j"$(nproc)"; then
    echo "0% tests passed, ${#targets[@]} tests failed out of ${#targets[@]}"
    exit 1
fi

out=build/fuzz
mkdir -p "$out/logs"
# The targets write and sync small files for every input: in memory when the system offers it.
# Their temporary folders go here and are removed at the end, whatever happened.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    TMPDIR=$(mktemp -d /dev/shm/morvane_fuzz.XXXXXX)
else
    TMPDIR="$PWD/$out/tmp"
    rm -rf "$TMPDIR"
    mkdir -p "$TMPDIR"
fi
export TMPDIR
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:symbolize=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=0
for t in "${targets[@]}"; do
    exe="$out/fuzz/$t"
    if [ ! -x "$exe" ]; then
        echo "$t: no such target"
        failed=$((failed + 1))
        continue
    fi
    mkdir -p "$out/corpus/$t" "$out/artifacts/$t"
    log="$out/logs/$t.log"
    "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$t/" "$out/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1
    rc=$?
    runs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' | tail -n 1)
    if [ $rc -eq 0 ]; then
        echo "$t: clean, ${runs:-?} inputs in ${seconds} s"
    else
        echo "$t: FAILED (exit $rc), see $log and $out/artifacts/$t/"
        grep -E '^(fuzz: |==[0-9]+==ERROR|SUMMARY)' "$log" | head -n 5
        failed=$((failed + 1))
    fi
done
rm -rf "$TMPDIR"

total=${#targets[@]}
echo "$(((total - failed) * 100 / total))% tests passed, $failed tests failed out of $total"
[ "$failed" -eq 0 ]
