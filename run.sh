#!/usr/bin/env bash
# The main job: builds Morvane for Linux and for 64-bit Windows, then renders the built-in demo
# signal through every program of the Linux build into ./morvane-demo and prints their levels.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
for preset in native-release win64-release; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)"
done
echo
echo "Plug-ins: build/native-release/bin/Morvane.so and build/win64-release/bin/Morvane.dll"
build/native-release/bin/morvane-host demo --out morvane-demo
echo "The eight programs are in ./morvane-demo."
