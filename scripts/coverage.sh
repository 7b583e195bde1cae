#!/usr/bin/env bash
# Line and branch coverage of src/ by the native test suite: builds the "coverage" preset, runs
# every test, and prints gcovr's summary (an HTML report goes to build/coverage/report/).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh coverage
cmake --preset coverage >/dev/null
cmake --build --preset coverage -j"$(nproc)"
find build/coverage -name '*.gcda' -delete
# On a virtual display: the X11 window's tests open real windows.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset coverage -j"$(nproc)" \
    >build/coverage/ctest.log 2>&1 || {
    tail -n 30 build/coverage/ctest.log
    exit 1
}
mkdir -p build/coverage/report
# Exception edges and unreachable branches are left out: they count every call that could throw.
gcovr --root . --filter 'src/' --object-directory build/coverage \
    --exclude-throw-branches --exclude-unreachable-branches \
    --html-details build/coverage/report/index.html --print-summary build/coverage
