#!/usr/bin/env bash
# Builds, then starts the editor (arguments are passed on: a file to open).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/src/veligram "$@"
