# Shared by scripts/run and scripts/test: installs the Debian packages the
# project needs that are missing, then configures and builds a preset.
# shellcheck shell=bash

TAVRISK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

TAVRISK_PACKAGES=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-webengine-dev qt6-svg-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-zenhei qt6-translations-l10n
  xvfb xauth
)

tavrisk_install_packages() {
  local missing=()
  local p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing missing packages: ${missing[*]}"
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

tavrisk_build() {
  local preset=$1
  cmake --preset "$preset" -S "$TAVRISK_ROOT" >/dev/null
  cmake --build --preset "$preset" --parallel "$(nproc)"
}
