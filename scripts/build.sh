#!/usr/bin/env bash
# Configures (once) and builds with the given preset: default, ci or asan.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
dir=build; [ "$preset" = asan ] && dir=build-asan
export CCACHE_BASEDIR="$(cd .. && pwd)" CCACHE_NOHASHDIR=1
if [ ! -f "$dir/build.ninja" ] || [ "$preset" = ci ]; then
  cmake --preset "$preset" >/dev/null
fi
cmake --build "$dir" -j"$(nproc)"
