#!/usr/bin/env bash
# The live status: the cost of one sample, and of the window polling with the Overview shown, beside
# top, htop and btop doing the same job in the same minute, at the machine's own process count and
# with ~2,000 processes.
#
#   bench/status.sh [--seconds N] [--processes N]   (defaults 60 and 2000; needs a built kelvo)
#
# For each size:
# 1. One sample: `kelvo status --json` against `top -b -n 1`, ten runs each in turn, medians of wall
#    and CPU time; Kelvo's CPU includes its start-up, its walk of /proc and the reread of the stat
#    files 0.2 s later (target: at most 0.05 s of CPU at ~2,000 processes).
# 2. Polling: the window, drawn offscreen on the Overview, samples every 2 s for N seconds while
#    `top -b -d 2`, `htop -d 20` and `btop` (each in a pseudo-terminal, each refreshing every 2 s)
#    run beside it; each one's CPU time over the span as a share of one core, and its peak memory.
#    The window runs as a user runs it (the renderer chosen for the machine) and once more with
#    OpenGL forced, to show what the choice saves. Targets for the window at ~120 processes: under
#    1 % of a core and under 150 MB; at ~2,000: no more CPU than htop.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
seconds=60
processes=2000
counts seconds processes -- "$@"
bench_init
need_tools bc time top htop btop script

hz=$(getconf CLK_TCK)
# cpu_ticks PID: the process's user + system time so far, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
peak_mb() { awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }
share() { echo "100 * $1 / $hz / $seconds" | bc -l; }

sleepers=()
stop_all() {
  kill "${pids[@]}" "${sleepers[@]}" 2> /dev/null || true
  rm -rf "$work"
}
trap stop_all EXIT

# in_terminal CMD...: CMD in a pseudo-terminal of 200x50 whose screen is thrown away; prints the pid
# of CMD itself (script's child).
in_terminal() {
  script -qfc "stty cols 200 rows 50; exec env $*" /dev/null > /dev/null 2>&1 < /dev/null &
  local parent=$! child=""
  for _ in $(seq 50); do
    child=$(pgrep -P "$parent" | head -n 1) && [ -n "$child" ] && break
    sleep 0.1
  done
  echo "$child"
}

measure_size() {
  local label=$1
  echo "== $label: $(find /proc -maxdepth 1 -name '[0-9]*' | wc -l) processes"

  run_kelvo() { sandboxed "$@" "$kelvo" status --json; }
  run_top() { "$@" top -b -n 1; }
  median_of 10 kelvo top
  printf '  one sample   kelvo status --json  wall %.3f s  cpu %.3f s (medians of 10)\n' \
    "${median_wall[kelvo]}" "${median_cpu[kelvo]}"
  printf '  one sample   top -b -n 1          wall %.3f s  cpu %.3f s (medians of 10)\n' \
    "${median_wall[top]}" "${median_cpu[top]}"

  # env execs Kelvo itself, so that $! is the window's own process.
  pids=()
  env QT_QPA_PLATFORM=offscreen HOME="$work/home" KELVO_DEFAULTS_FILE="$work/d.ini" "$kelvo" > /dev/null 2>&1 &
  local window=$!
  env QT_QPA_PLATFORM=offscreen QSG_RHI_BACKEND=opengl HOME="$work/home" KELVO_DEFAULTS_FILE="$work/d2.ini" \
    "$kelvo" > /dev/null 2>&1 &
  local opengl=$!
  top -b -d 2 > /dev/null &
  local top_pid=$!
  local htop_pid btop_pid
  htop_pid=$(in_terminal TERM=xterm-256color htop -d 20)
  btop_pid=$(in_terminal TERM=xterm-256color btop)
  pids=("$window" "$opengl" "$top_pid" "$htop_pid" "$btop_pid")
  sleep 8 # start-up, the first sample and the first drawing are not the steady state
  local -A before=()
  local name pid
  declare -A who=([window]=$window [opengl]=$opengl [top]=$top_pid [htop]=$htop_pid [btop]=$btop_pid)
  for name in "${!who[@]}"; do before[$name]=$(cpu_ticks "${who[$name]}"); done
  sleep "$seconds"
  for name in window opengl top htop btop; do
    pid=${who[$name]}
    printf '  polling %-28s %6.2f %% of one core  peak %7.1f MB\n' \
      "$(case $name in window) echo 'kelvo window (chosen)' ;; opengl) echo 'kelvo window (OpenGL)' ;;
         top) echo 'top -b -d 2' ;; htop) echo 'htop -d 20' ;; btop) echo 'btop (2 s)' ;; esac)" \
      "$(share $(($(cpu_ticks "$pid") - before[$name])))" "$(peak_mb "$pid")"
  done
  kill "${pids[@]}" 2> /dev/null || true
  wait "$window" "$opengl" 2> /dev/null || true
}

measure_size "the machine as it is"
# Sleepers bring the count to about the size asked for.
own=$(find /proc -maxdepth 1 -name '[0-9]*' | wc -l)
for ((i = own; i < processes; i++)); do
  sleep 100000 &
  sleepers+=($!)
done
measure_size "with sleepers added"
