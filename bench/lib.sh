# shellcheck shell=bash
# What the benchmark scripts share; each sources it first. It runs from the repository root, so
# that KELVO and the generators' paths resolve the same wherever the script is started.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
kelvo=${KELVO:-build/src/Kelvo/kelvo}
export PYTHONDONTWRITEBYTECODE=1  # the generators' shared module would leave bench/__pycache__
declare -A best_of

# counts NAME... -- ARGS...: sets each NAME (its default already set) from --NAME N, --NAME=N or,
# in order, a bare number; anything else prints the usage and exits 2.
counts() {
  local _names=() _usage="usage: $0" _next=0 _name _value
  while [ "$1" != -- ]; do _names+=("$1"); _usage+=" [--$1 N]"; shift; done
  shift
  while [ $# -gt 0 ]; do
    case $1 in
      --*=*) _name=${1%%=*}; _name=${_name#--}; _value=${1#*=}; shift ;;
      --*) _name=${1#--}; _value=${2-}; shift $(($# > 1 ? 2 : 1)) ;;
      *) _name=${_names[_next]-}; _next=$((_next + 1)); _value=$1; shift ;;
    esac
    if [[ " ${_names[*]} " != *" $_name "* || ! $_value =~ ^[0-9]+$ ]]; then
      echo "$_usage" >&2; exit 2
    fi
    printf -v "$_name" '%s' "$_value"
  done
}

# bench_init: checks for Kelvo and makes $work, removed on exit, with an empty $work/home that
# every run gets as HOME (and no XDG folder elsewhere), so nothing reads or writes the real home,
# Trash or settings.
bench_init() {
  [ -x "$kelvo" ] || { echo "build Kelvo first (make build)" >&2; exit 1; }
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/home"
  # Set, these would lead every tool from $work/home to the real user's folders.
  unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_STATE_HOME XDG_CACHE_HOME
}

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# need_tools TOOL...: installs the missing ones from apt (each package is named as its command;
# "time" is GNU time, /usr/bin/time, not the shell keyword).
need_tools() {
  local missing=() tool
  for tool in "$@"; do
    if [ "$tool" = time ]; then [ -x /usr/bin/time ] || missing+=(time)
    else command -v "$tool" > /dev/null || missing+=("$tool"); fi
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "installing ${missing[*]}" >&2
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" > /dev/null
}

# sandboxed CMD...: CMD with HOME and Kelvo's settings file inside $work.
sandboxed() { HOME="$work/home" KELVO_DEFAULTS_FILE="$work/d.ini" "$@"; }

# Each measured command is a function run_NAME; it takes a command to run it under as arguments
# (empty when timed, /usr/bin/time for the peak memory) and its output is discarded.

# time_best_of RUNS NAME...: runs every run_NAME RUNS times, interleaved so that a change in the
# machine's load hits all alike, and sets best_of[NAME] to its fastest wall time in seconds.
# shellcheck disable=SC2034 # best_of is read by the scripts
time_best_of() {
  local runs=$1 run name t0 t1
  local -A times=()
  shift
  for ((run = 0; run < runs; run++)); do
    for name in "$@"; do
      t0=$(date +%s.%N); "run_$name" > /dev/null; t1=$(date +%s.%N)
      times[$name]+="$(echo "$t1 - $t0" | bc) "
    done
  done
  for name in "$@"; do
    # shellcheck disable=SC2086 # split on the spaces between the times
    best_of[$name]=$(printf '%s\n' ${times[$name]} | sort -g | head -n 1)
  done
}

# median_of RUNS NAME...: runs every run_NAME RUNS times, interleaved like time_best_of, and sets
# median_wall[NAME] and median_cpu[NAME] (user + system) in seconds. The shell's own time keyword
# measures them to the millisecond, where GNU time's wall time has hundredths only.
declare -A median_wall median_cpu
# shellcheck disable=SC2034 # the medians are read by the scripts
median_of() {
  local runs=$1 run name figures TIMEFORMAT='%3R %3U %3S'
  local -A walls=() cpus=()
  shift
  for ((run = 0; run < runs; run++)); do
    for name in "$@"; do
      figures=$({ time "run_$name" > /dev/null; } 2>&1 | tail -n 1)
      read -r wall user system <<< "$figures"
      walls[$name]+="$wall "
      cpus[$name]+="$(echo "$user + $system" | bc) "
    done
  done
  for name in "$@"; do
    # shellcheck disable=SC2086 # split on the spaces between the figures
    median_wall[$name]=$(printf '%s\n' ${walls[$name]} | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    # shellcheck disable=SC2086
    median_cpu[$name]=$(printf '%s\n' ${cpus[$name]} | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  done
}

# peak_kb NAME: the peak resident memory of one run of run_NAME, in KB.
peak_kb() { { "run_$1" /usr/bin/time -f '%M' > /dev/null; } 2>&1 | tail -n 1; }

ratio() { echo "$1 / $2" | bc -l; }
mb() { echo "$1 / 1024" | bc -l; }
