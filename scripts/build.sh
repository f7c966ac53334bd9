#!/usr/bin/env bash
# Configures and builds into build/ (or $QON_BUILD_DIR). Extra arguments, and the words of
# $QON_CMAKE_ARGS, go to cmake. ccache is used when it is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QON_BUILD_DIR:-build}"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# shellcheck disable=SC2086
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${QON_BUILD_TYPE:-RelWithDebInfo}" \
  "${launcher[@]}" ${QON_CMAKE_ARGS:-} "$@"
cmake --build "$dir" -j2
