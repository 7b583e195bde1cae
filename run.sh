#!/usr/bin/env bash
# The main job: builds Morvane for Linux and for 64-bit Windows.
set -euo pipefail
cd "$(dirname "$0")"
scripts/deps.sh
for preset in native-release win64-release; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)"
done
echo "Built: build/native-release and build/win64-release"
