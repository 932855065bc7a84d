#!/usr/bin/env bash
# Builds Varnel in Release (installing what is missing) and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}"
echo "Building Varnel..."
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEL_TESTS=OFF -DVARNEL_BENCH=OFF >/dev/null
cmake --build build-release -j 2 --target varnel
if [ ! -x build-release/ui/varnel ]; then
  echo "The program varnel was not built: the window is not there yet." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: set DISPLAY to the X server to show Varnel on." >&2
  exit 1
fi
exec build-release/ui/varnel "$@"
