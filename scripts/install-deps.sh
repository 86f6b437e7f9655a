#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the editor need, when any is missing.
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev qt6-svg-dev libqt6svg6 qt6-translations-l10n libgl-dev
          fonts-liberation fonts-dejavu-core fonts-urw-base35 dpkg-dev poppler-utils
          libhunspell-dev hunspell-fr pkg-config libharfbuzz-dev fonts-texgyre-math
          xvfb xauth x11-utils openbox)  # the live window tests: an X server with a window manager
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
