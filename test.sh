#!/usr/bin/env bash
# Runs every test of Morvane: the native suite in release, the native suite under AddressSanitizer
# and UndefinedBehaviorSanitizer (both on a virtual X display), the robustness tests under
# ThreadSanitizer, every fuzz target for a short time, the suite cross-compiled for 64-bit Windows
# and run under wine, and the Windows build's audio and chunks against the Linux build's. Installs
# what it needs first. Fails when any build or test fails on any target.
set -uo pipefail
cd "$(dirname "$0")"
scripts/deps.sh || exit 1

mkdir -p build
jobs=$(nproc)
summaries=()
failed=0

# run_suite PRESET LABEL [COMMAND PREFIX...]: configure, build, and run ctest under the prefix.
run_suite() {
    local preset=$1 label=$2
    shift 2
    echo "== $label: build"
    if ! cmake --preset "$preset" >"build/$preset.cmake.log" 2>&1; then
        cat "build/$preset.cmake.log"
        summaries+=("$label: configuration failed")
        failed=1
        return
    fi
    rm -f "build/$preset.cmake.log"
    if ! cmake --build --preset "$preset" -j"$jobs"; then
        summaries+=("$label: build failed")
        failed=1
        return
    fi
    echo "== $label: test"
    local log="build/$preset/ctest-summary.log"
    "$@" ctest --preset "$preset" -j"$jobs" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
    local line
    line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    summaries+=("$label: ${line:-ctest gave no summary}")
}

# The native suites run on a virtual display of their own: the X11 window's tests open real
# windows and move its pointer.
native_display=(xvfb-run -a -s "-screen 0 1280x1024x24")
run_suite native-release "Linux" "${native_display[@]}"
run_suite native-asan "Linux, ASan+UBSan" "${native_display[@]}"
# Only the robustness tests (torture, instances) run under ThreadSanitizer: its build is slow.
run_suite native-tsan "Linux, TSan (robustness)"

# Every fuzz target for 30 seconds; `scripts/fuzz.sh SECONDS` runs them longer.
echo "== Fuzzing (libFuzzer, ASan+UBSan): build and run"
fuzz_log=build/fuzz-summary.log
scripts/fuzz.sh 30 2>&1 | tee "$fuzz_log"
[ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
fuzz_line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$fuzz_log" | tail -n 1)
summaries+=("Fuzzing (libFuzzer, ASan+UBSan): ${fuzz_line:-fuzzing gave no summary}")

# Windows programs run under wine with a private prefix in the build folder, and with a virtual
# display for the tests that open real windows.
export WINEPREFIX="$PWD/build/win64-release/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
run_suite win64-release "Windows x86-64 (wine)" xvfb-run -a -s "-screen 0 1280x1024x24" scripts/with-wine.sh

# The Windows build against the Linux one: the same audio from every program, and chunks saved on
# one target restored on the other.
echo "== Linux against Windows"
cross_log=build/cross-target-summary.log
MORVANE_HOST_WINDOWS_BUILD="$PWD/build/win64-release" xvfb-run -a scripts/with-wine.sh \
    ctest --test-dir build/native-release -R '^CrossTarget\.' --output-on-failure 2>&1 | tee "$cross_log"
[ "${PIPESTATUS[0]}" -eq 0 ] || failed=1
cross_line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$cross_log" | tail -n 1)
summaries+=("Linux against Windows: ${cross_line:-ctest gave no summary}")

echo
echo "== Summary"
total=0
total_failed=0
for s in "${summaries[@]}"; do
    echo "$s"
    if [[ $s =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
        total_failed=$((total_failed + BASH_REMATCH[1]))
        total=$((total + BASH_REMATCH[2]))
    fi
done
if [ "$total" -gt 0 ]; then
    echo "$(((total - total_failed) * 100 / total))% tests passed, $total_failed tests failed out of $total"
fi
exit "$failed"
