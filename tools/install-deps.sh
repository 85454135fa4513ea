#!/usr/bin/env bash
# Installs the Debian 12 packages the editor needs to build, run and test.
# Only what is missing is installed; through sudo when not run as root.
set -euo pipefail
packages=(
  cmake make g++ pkg-config dpkg-dev file clang libclang-rt-dev clang-format
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl-dev
  qt6-wayland libcups2-dev
  libbenchmark-dev
  xvfb xauth xdotool imagemagick poppler-utils desktop-file-utils appstream
  shared-mime-info dbus at-spi2-core python3-pyatspi
  weston cups-daemon cups-client printer-driver-cups-pdf
  qt6-gtk-platformtheme
  fonts-dejavu-core fonts-liberation
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
