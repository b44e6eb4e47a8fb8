#!/usr/bin/env bash
# Builds everything and runs every test headless. Usage: scripts/test.sh [asan]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
preset="${1:-default}"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "build$([ "$preset" = default ] || echo "-$preset")"
ctest --output-on-failure -j "$(nproc)" --timeout 600
