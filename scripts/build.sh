#!/usr/bin/env bash
# Configures and builds into build/ (or $QON_BUILD_DIR). Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QON_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${QON_BUILD_TYPE:-RelWithDebInfo}" "$@"
cmake --build "$dir" -j2
