#!/usr/bin/env bash
# Shared by ./varnel.sh, ./test.sh and ./bench.sh: makes sure what a build needs is there. Source
# it and call `need_packages PKG...` with Debian package names; run on its own (`scripts/deps.sh`),
# it installs what building Varnel and its Debian package needs. Each package is checked by what
# it provides (a program on PATH, a pkg-config module, a header the compiler finds), not by a
# package database, so this works on any distribution; only what is missing is installed, with apt-get
# where it exists. Elsewhere the missing pieces are listed and the script stops.

# True when the C++ compiler finds the header.
have_header() {
  local cxx
  cxx=$(command -v c++ || command -v g++ || command -v clang++) || return 1
  echo "#include <$1>" | "$cxx" -E -x c++ - >/dev/null 2>&1
}

# True when what the Debian package PKG provides is present.
have_package() {
  case "$1" in
    cmake) command -v cmake >/dev/null ;;
    ninja-build) command -v ninja >/dev/null ;;
    g++) command -v g++ >/dev/null || command -v c++ >/dev/null ;;
    clang) command -v clang++ >/dev/null ;;
    pkg-config) command -v pkg-config >/dev/null ;;
    libfreetype-dev) pkg-config --exists freetype2 2>/dev/null ;;
    libfontconfig-dev) pkg-config --exists fontconfig 2>/dev/null ;;
    libpng-dev) pkg-config --exists libpng 2>/dev/null ;;
    libx11-dev) pkg-config --exists x11 2>/dev/null ;;
    libxext-dev) pkg-config --exists xext 2>/dev/null ;;
    libfltk1.3-dev) have_header FL/Fl.H ;;
    libcurl4-openssl-dev) pkg-config --exists libcurl 2>/dev/null ;;
    nlohmann-json3-dev) have_header nlohmann/json.hpp ;;
    libxtst-dev) have_header X11/extensions/XTest.h ;;
    libgtest-dev) have_header gtest/gtest.h ;;
    libbenchmark-dev) have_header benchmark/benchmark.h ;;
    fonts-liberation)
      if command -v fc-list >/dev/null; then fc-list "Liberation Sans" | grep -q .
      else compgen -G "/usr/share/fonts/*/liberation*/LiberationSans-Regular.ttf" >/dev/null; fi ;;
    xvfb) command -v Xvfb >/dev/null ;;
    xdotool) command -v xdotool >/dev/null ;;
    x11-utils) command -v xprop >/dev/null && command -v xwininfo >/dev/null && command -v xdpyinfo >/dev/null ;;
    x11-apps) command -v xwd >/dev/null ;;
    conky-std) command -v conky >/dev/null ;;
    openbox) command -v openbox >/dev/null ;;
    xserver-xephyr) command -v Xephyr >/dev/null ;;
    x11-xserver-utils) command -v xrandr >/dev/null ;;
    wmctrl) command -v wmctrl >/dev/null ;;
    dpkg-dev) command -v dpkg-shlibdeps >/dev/null ;;
    desktop-file-utils) command -v desktop-file-validate >/dev/null ;;
    appstream) command -v appstreamcli >/dev/null ;;
    man-db) command -v man >/dev/null ;;
    lintian) command -v lintian >/dev/null ;;
    devscripts) command -v hardening-check >/dev/null ;;
    *) command -v dpkg-query >/dev/null &&
         dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed" ;;
  esac
}

need_packages() {
  local missing=()
  local p
  for p in "$@"; do
    have_package "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if ! command -v apt-get >/dev/null 2>&1; then
    echo "Missing (as Debian names them): ${missing[*]}" >&2
    echo "Install their equivalents with your system's package manager (see \"Other systems\" in README.md)," >&2
    echo "then try again." >&2
    exit 1
  fi
  echo "Installing missing packages: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || {
      echo "apt-get could not install: ${missing[*]}" >&2
      return 1
    }
  elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  else
    echo "Some packages are missing. Run this as root, then try again:" >&2
    echo "  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
}

# What every build needs.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config libfreetype-dev libfontconfig-dev libpng-dev fonts-liberation
                libcurl4-openssl-dev nlohmann-json3-dev
                libfltk1.3-dev libx11-dev libxext-dev)

# What the package test needs: dpkg-shlibdeps, the validators of the data files, lintian, and
# hardening-check (from devscripts).
PACKAGE_PACKAGES=(dpkg-dev desktop-file-utils appstream man-db lintian devscripts)

# What bench/resources.sh compares the program with, besides its own yardstick.
RESOURCE_PACKAGES=(xvfb x11-utils conky-std x11-apps libfltk1.3-dev libx11-dev)

# What the tests of the network load sources start as their peers: a node exporter, a Prometheus
# server, and openssl's own TLS server; and the X test extension their end-to-end test clicks with.
REMOTE_TEST_PACKAGES=(prometheus-node-exporter prometheus openssl libxtst-dev)

# Run as a program rather than sourced: what the build and the package need.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  need_packages "${BUILD_PACKAGES[@]}" dpkg-dev
  echo "Everything the build needs is installed."
fi
