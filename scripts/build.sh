#!/usr/bin/env bash
# Configures and builds the project.
#   scripts/build.sh            build/        (the installation folder is build/bin)
#   scripts/build.sh --sanitize build-asan/   (AddressSanitizer and UndefinedBehaviorSanitizer)
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-asan
    options=(-DCMAKE_BUILD_TYPE=Debug -DZARV_SANITIZE=ON)
fi
cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
