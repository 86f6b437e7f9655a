#!/usr/bin/env bash
# Builds in release mode and prints the benchmark figures: RTF read/load/save, the editor
# offscreen, the recovery copies, spell checking, the bulk commands, and the same files turned into
# plain text by other programs (LibreOffice headless, pandoc, unrtf) side by side, as ratios against ours.
#
#   scripts/bench.sh                  everything; installs the other programs when missing
#   scripts/bench.sh --no-others      ours only
#   scripts/bench.sh --no-install     compare with what is installed, install nothing
#
# Not part of the tests: figures depend on the machine; run it on an idle one.
set -euo pipefail
cd "$(dirname "$0")/.."

others=1
install=1
for arg in "$@"; do
    case $arg in
        --no-others) others=0 ;;
        --no-install) install=0 ;;
        *) echo "usage: scripts/bench.sh [--no-others] [--no-install]" >&2; exit 2 ;;
    esac
done

bash scripts/install-deps.sh
if [ $others -eq 1 ] && [ $install -eq 1 ]; then
    missing=()
    command -v soffice >/dev/null || missing+=(libreoffice-writer-nogui)
    command -v pandoc >/dev/null || missing+=(pandoc)
    command -v unrtf >/dev/null || missing+=(unrtf)
    if [ ${#missing[@]} -gt 0 ]; then
        sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}" \
            >/dev/null
    fi
fi

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release >/dev/null
export QT_QPA_PLATFORM=offscreen
bin=build-release/bench

qt=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || echo unknown)
echo "Veligram benchmarks — $(nproc) cores, Qt $qt, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "Each figure is the median of several runs in one process."
echo
echo "== RTF: reader, writer, control (1 and 10 MB) =="
rtf_figures=$("$bin/rtfbench" 1 10 2>/dev/null)
echo "$rtf_figures"
# Time linear in size: each step's 10 MB time over its 1 MB time (10x is linear).
echo "$rtf_figures" | awk '
    / ms \(processor/ {
        split($0, part, " MB: "); size = part[1]; rest = part[2]
        name = substr(rest, 1, index(rest, ":") - 1)
        match(rest, /[0-9]+ ms/); ms[name, size] = substr(rest, RSTART, RLENGTH - 3)
        if (!(name in seen)) { seen[name] = 1; order[++count] = name }
    }
    END {
        for (i = 1; i <= count; ++i) {
            n = order[i]
            if (ms[n, 1] > 0 && ms[n, 10] != "")
                printf "10 MB / 1 MB, %-30s %5.1fx   (linear: 10x)\n", n ":", ms[n, 10] / ms[n, 1]
        }
    }'
echo
for size in 1 10; do
    echo "== The editor, offscreen, $size MB document =="
    "$bin/editorbench" "$size" 2>/dev/null
    echo
done
echo "== Recovery copy of a long text (1 and 10 MB) =="
"$bin/recoverybench" 1 10 2>/dev/null
echo
for size in 1 10; do
    echo "== Spell checking, offscreen, $size MB document =="
    "$bin/spellbench" "$size" 2>/dev/null
    echo
done
echo "== Find and replace =="
"$bin/searchbench" 2>/dev/null
echo
echo "== Bulk script commands =="
"$bin/scriptsbench" 2>/dev/null
if [ -x "$bin/printbench" ]; then
    echo
    echo "== Printing =="
    "$bin/printbench" 2>/dev/null
fi

[ $others -eq 1 ] || exit 0

# Milliseconds of the median of three runs of a command.
median_ms() {
    local times=()
    for _ in 1 2 3; do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 2p
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo
echo "== RTF to plain text, side by side (ratio: their time / ours) =="
printf '%-28s %10s %10s %8s\n' "program" "1 MB" "10 MB" "ratio"
for size in 1 10; do
    "$bin/rtfbench" --write "$work/sample$size.rtf" "$size"
done
tool=build-release/tools/veligram-tool
declare -A ours
for size in 1 10; do
    ours[$size]=$(median_ms "$tool" rtf text "$work/sample$size.rtf")
done
printf '%-28s %8s ms %7s ms %8s\n' "veligram-tool rtf text" "${ours[1]}" "${ours[10]}" "1.0"
row() { # name, 1 MB ms, 10 MB ms or "-"
    local ratio
    ratio=$(awk -v a="$2" -v b="${ours[1]}" 'BEGIN { printf "%.1f", a / (b > 0 ? b : 1) }')
    printf '%-28s %8s ms %7s ms %8s\n' "$1" "$2" "$3" "$ratio"
}
if command -v pandoc >/dev/null; then
    row "pandoc -t plain" "$(median_ms pandoc -f rtf -t plain "$work/sample1.rtf")" \
        "$(median_ms pandoc -f rtf -t plain "$work/sample10.rtf")"
fi
if command -v unrtf >/dev/null; then
    # unrtf writes the pictures it meets into the current folder: the scratch one.
    row "unrtf --text" "$(cd "$work" && median_ms unrtf --text sample1.rtf)" \
        "$(cd "$work" && median_ms unrtf --text sample10.rtf)"
fi
if command -v soffice >/dev/null; then
    # LibreOffice grows much faster than linearly: 1 MB only. A private profile keeps runs apart.
    row "LibreOffice --convert-to txt" \
        "$(median_ms soffice -env:UserInstallation=file://"$work"/profile --headless --convert-to txt:Text \
            --outdir "$work/out" "$work/sample1.rtf")" "-"
fi
echo "(ratios on 1 MB; a ratio above 1 means the other program is slower)"
