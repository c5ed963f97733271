#!/usr/bin/env bash
# Installs the Debian packages Tweakforge needs when any is missing, then
# configures and builds it in build/. Sourced by run.sh and test.sh.
set -euo pipefail

TF_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
TF_BUILD="${TF_BUILD:-$TF_ROOT/build}"

TF_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  adwaita-icon-theme fonts-dejavu-core
)

tf_install_missing() {
  local missing=()
  for package in "${TF_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

tf_build() {
  cmake -S "$TF_ROOT" -B "$TF_BUILD" -G Ninja "$@"
  cmake --build "$TF_BUILD" -j"$(nproc)"
}
