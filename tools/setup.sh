#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vembrel need, where they are
# missing. Uses sudo when not run as root. Safe to run again: it installs nothing twice.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libicu-dev
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev libxcb1-dev
  fonts-noto-cjk xdg-utils
  googletest libgtest-dev libbenchmark-dev
  python3 xz-utils
  opencc python3-jieba unicode-data
  xvfb xauth xdotool xclip x11-utils imagemagick
  libxcb-shape0-dev libxcb-xfixes0-dev
  openbox picom xfwm4 dbus-daemon trayer x11-xserver-utils sway xwayland grim mutter
  clang libclang-rt-14-dev
  ripgrep
  debhelper dpkg-dev fakeroot lintian appstream desktop-file-utils librsvg2-bin ccache
  orca speech-dispatcher at-spi2-core python3-pyatspi
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: need root or sudo to install ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
