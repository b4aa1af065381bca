#!/usr/bin/env bash
# The live status: the cost of one sample, and of the window polling with the Overview shown.
#
#   bench/status.sh [--seconds N]     (default 60; needs a built ./build/src/Kelvo/kelvo)
#
# 1. One sample: `kelvo status --json` against `top -b -n 1` (one listing of the same processes and
#    figures), ten runs each in turn, medians of wall and CPU time under GNU time; the CPU seconds
#    of a whole run include Kelvo's start-up, so they bound the sample's own cost from above
#    (target: under 0.05 s beyond the 0.2 s measuring wait, which costs no CPU).
# 2. Polling: the window, drawn offscreen on the Overview, samples every 2 s for N seconds beside
#    `top -b -d 2` doing the same job; each one's CPU time over that span as a share of one core
#    (target for Kelvo: under 1 %), and the window's peak memory (target: under 150 MB).
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
seconds=60
counts seconds -- "$@"
bench_init
need_tools bc time

echo "== one sample: kelvo status --json vs top -b -n 1"
run_kelvo() { sandboxed "$@" "$kelvo" status --json; }
run_top() { "$@" top -b -n 1; }
median_of 10 kelvo top
printf 'kelvo status --json  wall %.3f s  cpu %.3f s (medians of 10)\n' "${median_wall[kelvo]}" "${median_cpu[kelvo]}"
printf 'top -b -n 1          wall %.3f s  cpu %.3f s (medians of 10)\n' "${median_wall[top]}" "${median_cpu[top]}"

# cpu_ticks PID: the process's user + system time so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)

echo "== polling for $seconds s: the window on the Overview vs top -b -d 2"
# env execs Kelvo itself, so that $! is the window's own process.
env QT_QPA_PLATFORM=offscreen HOME="$work/home" KELVO_DEFAULTS_FILE="$work/d.ini" "$kelvo" > "$work/window.log" 2>&1 &
window=$!
trap 'kill "$window" 2> /dev/null; rm -rf "$work"' EXIT
sleep 8 # start-up, the first sample and the first drawing are not the steady state
top -b -d 2 > /dev/null &
top_pid=$!
window_before=$(cpu_ticks "$window")
top_before=$(cpu_ticks "$top_pid")
sleep "$seconds"
window_used=$(($(cpu_ticks "$window") - window_before))
top_used=$(($(cpu_ticks "$top_pid") - top_before))
peak_kb=$(awk '/VmHWM/ { print $2 }' "/proc/$window/status")
kill "$top_pid" "$window"
wait "$window" 2> /dev/null || true

share() { echo "100 * $1 / $hz / $seconds" | bc -l; }
printf 'kelvo window, Overview shown  %6.2f %% of one core  (target < 1 %%)\n' "$(share "$window_used")"
printf 'top -b -d 2                   %6.2f %% of one core\n' "$(share "$top_used")"
printf 'kelvo window peak memory      %6.1f MB  (target < 150 MB)\n' "$(mb "$peak_kb")"
