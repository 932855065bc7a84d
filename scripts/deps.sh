# Shared by ./varnel.sh, ./test.sh and ./bench.sh: makes sure the Debian packages a build needs
# are installed. Source it and call `need_packages PKG...`.
need_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
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
                libfltk1.3-dev libx11-dev libxext-dev)

# What bench/resources.sh compares the program with, besides its own yardstick.
RESOURCE_PACKAGES=(xvfb x11-utils conky-std x11-apps libfltk1.3-dev libx11-dev)
