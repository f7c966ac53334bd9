#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs the test suite there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
QON_BUILD_DIR=build-asan QON_BUILD_TYPE=Debug bash scripts/build.sh -DQON_SANITIZE=ON
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=offscreen
# fontconfig keeps its caches until exit on purpose; that is not a leak of ours.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The clearability test plays every starter stage for minutes of game time; the shorter
# replays of the other suites cover the same code under the sanitizers.
ctest --test-dir build-asan --output-on-failure -j2 -LE clearability
