#!/usr/bin/env bash
# Builds the Debian package of the editor into build-package/ (release build, CPack) and checks
# it with lintian (installed when missing):
#
#   scripts/package.sh            build-package/veligram_<version>_<arch>.deb
#
# Install it with `sudo apt install ./build-package/veligram_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
if ! command -v lintian >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends lintian >/dev/null
fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELIGRAM_BUILD_TESTS=OFF \
      -DVELIGRAM_BUILD_BENCH=OFF >/dev/null
cmake --build build-package
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls -t build-package/veligram_*.deb | head -n 1)
echo "$deb"
# Errors fail the script; warnings are shown.
lintian --fail-on error "$deb"
