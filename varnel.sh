#!/usr/bin/env bash
# Builds Varnel in Release (installing what is missing) and starts the program. The display is
# checked first, so that nothing is built for a window that cannot be shown. The settings live
# in the user's configuration directory, so a clean rebuild keeps them.
set -euo pipefail
cd "$(dirname "$0")"

if [ -z "${DISPLAY:-}" ]; then
  if [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Varnel needs X11 and DISPLAY is unset; under Wayland it runs through XWayland, which sets DISPLAY." >&2
  else
    echo "No display: set DISPLAY to the X server to show Varnel on." >&2
  fi
  exit 1
fi
if command -v xdpyinfo >/dev/null 2>&1 && ! xdpyinfo >/dev/null 2>&1; then
  echo "Cannot open display $DISPLAY." >&2
  exit 1
fi

. scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}"
echo "Building Varnel..."
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNEL_TESTS=OFF -DVARNEL_BENCH=OFF >/dev/null
cmake --build build-release -j 2 --target varnel varnel-render
if [ ! -x build-release/ui/varnel ]; then
  echo "The program varnel was not built: the window is not there yet." >&2
  exit 1
fi

# The settings file: the one the program keeps when installed, unless --ini names another.
for arg in "$@"; do
  case "$arg" in --ini | --ini=* | --help | -h | --version) exec build-release/ui/varnel "$@" ;; esac
done
config=${XDG_CONFIG_HOME:-}
[[ "$config" == /* ]] || config=${HOME:?HOME is not set}/.config
mkdir -p "$config/varnel"
# Settings that an older varnel.sh kept inside the build tree move there once.
if [ -f build-release/ui/FENDUL.INI ] && [ ! -e "$config/varnel/FENDUL.INI" ]; then
  mv build-release/ui/FENDUL.INI "$config/varnel/FENDUL.INI"
fi
exec build-release/ui/varnel --ini "$config/varnel/FENDUL.INI" "$@"
