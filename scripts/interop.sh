#!/usr/bin/env bash
# Installs LibreOffice (headless) when missing, builds, and runs the tests that compare with it:
# every attribute both ways, the text of the RTF samples, and their look after a round trip here.
set -euo pipefail
cd "$(dirname "$0")/.."
# Math objects need LibreOffice Math beside Writer.
if ! command -v soffice >/dev/null || [ ! -e /usr/lib/libreoffice/program/libsmlo.so ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends libreoffice-writer-nogui \
        libreoffice-math-nogui
fi
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
samples="$(cd .. && pwd)/shared/rtf-samples"
[ -d "$samples" ] && export VELIGRAM_SAMPLES="$samples"
ctest --test-dir build --output-on-failure -R 'libreofficeinterop|libreofficeequations|libreofficesamples|rtfsamples|chemformula'
