#!/usr/bin/env bash
# The main job: builds Morvane for Linux and for 64-bit Windows with the command-line host, then
# renders the built-in demo signal through every program of the Linux build into ./morvane-demo
# and prints their levels. Only what the job needs is installed and built: the tests, benchmarks
# and their libraries are ./test.sh's business.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh run
for preset in native-release win64-release; do
    cmake --preset "$preset" -DMORVANE_TESTS=OFF -DMORVANE_BENCH=OFF >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)" --target Morvane morvane-host
done
echo
echo "Plug-ins: build/native-release/bin/Morvane.so and build/win64-release/bin/Morvane.dll"
build/native-release/bin/morvane-host demo --out morvane-demo
echo "The eight programs are in ./morvane-demo."
