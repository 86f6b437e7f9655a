#!/usr/bin/env bash
# Runs the monkey (random typing, selections, commands and dialog answers on the assembled
# editor, with saves and reopens) for SECONDS, under AddressSanitizer and UndefinedBehaviorSanitizer,
# on an X server of its own with a window manager. Stops at the first crash, sanitizer report,
# hang of more than 2 s or saved file that does not reopen to the same text.
#   scripts/monkey.sh SECONDS [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/monkey.sh SECONDS [SEED]}
seed=${2:-$(date +%s)}
bash scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
      -DVELIGRAM_SANITIZE=ON -DVELIGRAM_WERROR=OFF -DVELIGRAM_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan --target monkey
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Runs of at most ten minutes each, seeds one after the other, so a report names a short run.
left=$seconds
while [ "$left" -gt 0 ]; do
    run=$(( left < 600 ? left : 600 ))
    bash scripts/with-x.sh build-asan/tests/shell/monkey "$run" "$seed"
    left=$(( left - run ))
    seed=$(( seed + 1 ))
done
