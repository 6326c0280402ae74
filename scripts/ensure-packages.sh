#!/usr/bin/env bash
# Installs the Debian packages the build needs, but only those dpkg reports missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-svg-dev
  qt6-webengine-dev libqt6webenginecore6-bin
  libwmf-dev libwmf-0.2-7 fonts-urw-base35 libemf2svg-dev libemf2svg1
  libjpeg62-turbo-dev
  fonts-liberation fonts-dejavu-core
  libbenchmark-dev
)
# Extra tools used only by the test run (fuzzing with clang, screenshots, checking the
# desktop entry, the software-centre listing and the manual page).
if [ "${1:-}" = "--test" ]; then
  packages+=(clang libclang-rt-14-dev poppler-utils desktop-file-utils appstream man-db)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
