#!/usr/bin/env bash
# Runs a command on an X server of its own with a window manager (Xvfb + openbox), as on a
# teacher's desktop: real activation, focus and modal dialogs, which the offscreen platform
# does not have. VELIGRAM_X_SCALE=2 doubles the screen and Qt's scale factor.
# Exits 77 (ctest's "skipped") with a message where no X server can be started.
set -uo pipefail

if ! command -v Xvfb >/dev/null; then
    echo "SKIP: no X server here (install xvfb and openbox: scripts/install-deps.sh)"
    exit 77
fi
scale=${VELIGRAM_X_SCALE:-1}
width=$((800 * scale))
height=$((600 * scale))

scratch=$(mktemp -d)
xpid=""
wmpid=""
cleanup() {
    [ -n "$wmpid" ] && kill "$wmpid" 2>/dev/null
    [ -n "$xpid" ] && kill "$xpid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# -displayfd lets the server pick a free display, so tests run side by side.
Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp -noreset 3>"$scratch/display" \
    2>"$scratch/xvfb.log" &
xpid=$!
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    kill -0 "$xpid" 2>/dev/null || break
    sleep 0.05
done
if ! [ -s "$scratch/display" ]; then
    echo "SKIP: Xvfb did not start"
    cat "$scratch/xvfb.log"
    exit 77
fi
export DISPLAY=":$(tr -d '[:space:]' <"$scratch/display")"

if command -v openbox >/dev/null; then
    HOME="$scratch" openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
    wmpid=$!
    # Wait until the window manager has taken the screen.
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
        sleep 0.05
    done
else
    echo "note: openbox is missing, running without a window manager"
fi

# The X keyboard library reads its keymap names with strndup past their end, which the
# sanitizers' strict string checks report in a library we do not build; the rest stays on.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi

export QT_QPA_PLATFORM=xcb
export QT_SCALE_FACTOR="$scale"
"$@"
status=$?
# A window manager's timing is not ours: with VELIGRAM_X_RETRY set, a failed run (its report
# printed above) gets one more try on the same server before it counts.
if [ "$status" -ne 0 ] && [ "$status" -ne 77 ] && [ -n "${VELIGRAM_X_RETRY:-}" ]; then
    echo "with-x: failed with status $status; once more"
    "$@"
    status=$?
fi
exit "$status"
