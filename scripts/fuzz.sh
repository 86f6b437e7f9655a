#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs one of them.
#   scripts/fuzz.sh TARGET SECONDS     TARGET: rtfreader, rtfwriter, exercisefile, plaintext, math, chem
# The corpus grows in fuzz/corpus/TARGET (not committed); crashes land in fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET SECONDS}
seconds=${2:-60}
bash scripts/install-deps.sh
# libFuzzer comes with clang's runtime libraries.
if ! command -v clang++ >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "ok installed"; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DVELIGRAM_FUZZ=ON -DVELIGRAM_BUILD_TESTS=OFF -DVELIGRAM_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target "fuzz_$target"
corpus=fuzz/corpus/$target
mkdir -p "$corpus" fuzz/findings
seeds=()
case $target in
    rtfreader|rtfwriter) seeds=(tests/rtf/data/rtf ../shared/rtf-samples); dict=(-dict=fuzz/rtf.dict) ;;
    exercisefile) seeds=(tests/exercise/data); dict=() ;;
    plaintext) seeds=(tests/rtf/data/rtf); dict=() ;;
    math) seeds=(fuzz/math-seeds); dict=(-dict=fuzz/math.dict) ;;
    chem) seeds=(fuzz/chem-seeds); dict=(-dict=fuzz/chem.dict) ;;
    *) echo "unknown target $target" >&2; exit 1 ;;
esac
existing=()
for s in "${seeds[@]}"; do [ -d "$s" ] && existing+=("$s"); done
export QT_QPA_PLATFORM=offscreen
"build-fuzz/fuzz/fuzz_$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -artifact_prefix=fuzz/findings/"$target"- "$corpus" "${existing[@]}"
