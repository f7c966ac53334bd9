#!/usr/bin/env bash
# Fails when a C++ file of the repository differs from what the checked-in .clang-format
# makes of it. `clang-format -i FILE` mends a file.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
echo "check-format: every C++ file is formatted"
