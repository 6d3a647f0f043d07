#!/usr/bin/env bash
# Installs everything the two builds and their tests need on Debian 12 (run as root).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools libgl-dev libxcb1-dev
  googletest libgtest-dev
  clang-14 libfuzzer-14-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  wine wine64
  xvfb xauth xdotool x11-utils x11-apps imagemagick libx11-dev xclip icoutils
  xfce4-settings dbus-daemon
  locales fonts-noto-cjk
  libglib2.0-bin desktop-file-utils appstream man-db dpkg-dev
  fuse3 bindfs
  qt6-wayland sway grim wtype libwayland-dev libwayland-bin libxkbcommon-dev
  kwin-wayland plasma-wayland-protocols python3-dbus libkf5service-bin gnome-shell dbus-x11
  python3 clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives 932 (Shift-JIS).
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen
fi
