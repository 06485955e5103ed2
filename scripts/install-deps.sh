#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, test and run.
# Idempotent: when everything is present it returns in about a second.
set -euo pipefail

PACKAGES=(
  build-essential curl cmake ninja-build ccache pkg-config git clang-format
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6sql6-sqlite
  qt6-webengine-dev qt6-webengine-dev-tools
  qcoro-qt6-dev libmpv-dev mpv libcpp-httplib-dev libssl-dev
  ffmpeg imagemagick sqlite3
  xvfb xauth xdotool x11-utils dbus dbus-x11 trayer
  fonts-wqy-zenhei libgl1-mesa-dri qt6-translations-l10n
  appstream desktop-file-utils dpkg-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
