#!/usr/bin/env bash
# Builds the project and runs every test.
#   scripts/test.sh             the normal build
#   scripts/test.sh --sanitize  the sanitizer build
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh "$@"
dir=build
[ "${1:-}" = "--sanitize" ] && dir=build-asan
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
