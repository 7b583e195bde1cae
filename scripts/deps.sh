#!/usr/bin/env bash
# Installs the Debian packages that building and testing Morvane need, when they are missing.
# Quiet and idempotent: nothing is done when everything is there.
set -euo pipefail

# What is needed depends on the job: "run" (the main job: build the plug-ins and the host),
# "test" (every test, the default) or "coverage" (the tests and a coverage report).
job=${1:-test}
packages=(
    cmake ninja-build g++ ccache pkg-config
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    libcli11-dev libsndfile1-dev libsmf-dev libpng-dev
    libx11-dev libxext-dev
)
if [ "$job" != run ]; then
    packages+=(
        clang-14 libclang-rt-14-dev
        googletest libgtest-dev libgmock-dev libbenchmark-dev
        wine64 xvfb xauth libxtst-dev libxfixes-dev
        lsp-plugins-vst
        libfreetype-dev fonts-dejavu-core fonts-dejavu-extra
    )
fi
if [ "$job" = coverage ]; then
    packages+=(gcovr)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "deps: missing packages (${missing[*]}) and no way to become root to install them" >&2
    exit 1
fi

echo "deps: installing ${missing[*]}"
log=$(mktemp)
export DEBIAN_FRONTEND=noninteractive
if ! { "${sudo[@]}" apt-get update -qq && \
       "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "deps: apt-get failed" >&2
    exit 1
fi
rm -f "$log"
