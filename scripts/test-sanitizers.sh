#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs tests
# headless under them. Any memory error, leak of our own or undefined behaviour fails the test
# that reached it.
#   scripts/test-sanitizers.sh          the readers of outside input and what lays them out (RTF,
#                                       exercise files, equations, chemistry, the text control)
#                                       and the fuzz targets' replays: what CI runs
#   scripts/test-sanitizers.sh --all    every test, the live window and the monkey included
#
# Optimised a little (-O1) and with line tables only (-g1), so the build stays short and the
# reports still name file and line. Assertions stay on (Debug configuration). Warnings are left
# to the normal build: gcc's instrumented code gives false -Wmaybe-uninitialized alarms.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=${VELIGRAM_JOBS:-$(nproc)}
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
      -DVELIGRAM_SANITIZE=ON -DVELIGRAM_WERROR=OFF -DVELIGRAM_BUILD_BENCH=OFF >/dev/null

labels='^(rtf|chem|math|richtext|exercise|fuzz)$'
if [ "${1:-}" = "--all" ]; then
    cmake --build build-asan -j "$jobs"
    selection=()
else
    # Each test is named FOLDER.TARGET (a live test FOLDER.TARGET.xN): build only those targets.
    mapfile -t targets < <(ctest --test-dir build-asan -N -L "$labels" | sed -n 's/^ *Test *#[0-9]*: [a-z]*\.\([A-Za-z0-9_]*\).*/\1/p' | sort -u)
    cmake --build build-asan -j "$jobs" --target "${targets[@]}"
    selection=(-L "$labels")
fi

# Qt and the system libraries are not instrumented: their own allocations kept until exit
# (fonts, the offscreen platform) are listed in the suppressions file; ours are all reported.
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j "$jobs" "${selection[@]}"
