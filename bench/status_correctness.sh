#!/usr/bin/env bash
# The live status figures against the system's own tools, on this machine.
#
#   bench/status_correctness.sh     (needs a built ./build/src/Kelvo/kelvo, or KELVO=path)
#
# Runs `kelvo status --json` and, at about the same moment, nproc, lscpu, free -b, df -B1, ps and
# /proc/net/dev, then prints each figure side by side with PASS or FAIL:
#   logical CPUs equal to nproc; physical cores equal to lscpu's distinct (core, socket) pairs;
#   memory total equal to free's, used within 5 % of free's "used";
#   every disk's size equal to df's and its use within 1 point of df's used / (used + available);
#   the process count within 5 % of ps -e; every interface listed in /proc/net/dev.
# Exits 1 when any check fails.
# shellcheck source-path=SCRIPTDIR source=lib.sh
. "$(dirname "$0")/lib.sh"
bench_init
need_tools python3

sandboxed "$kelvo" status --json > "$work/status.json"
nproc > "$work/nproc.txt"
if command -v lscpu > /dev/null; then
  lscpu -p=core,socket | grep -v '^#' | sort -u | wc -l > "$work/cores.txt"
fi
free -b > "$work/free.txt"
df -B1 --output=target,size,used,avail > "$work/df.txt"
ps -e --no-headers | wc -l > "$work/ps.txt"
cat /proc/net/dev > "$work/netdev.txt"

python3 - "$work" << 'EOF'
import json, os, sys

work = sys.argv[1]
status = json.load(open(os.path.join(work, "status.json")))
def read(name):
    path = os.path.join(work, name)
    return open(path).read() if os.path.exists(path) else None

failures = 0
def check(label, kelvo, tool, ok):
    global failures
    failures += 0 if ok else 1
    print(f"{label:<34} kelvo {str(kelvo):>18}   tool {str(tool):>18}   {'PASS' if ok else 'FAIL'}")

def within(value, reference, share):
    return value is not None and abs(value - reference) <= share * max(abs(reference), 1)

cpu = status.get("cpu", {})
check("logical CPUs (nproc)", cpu.get("logical_cpu"), int(read("nproc.txt")), cpu.get("logical_cpu") == int(read("nproc.txt")))
if read("cores.txt"):
    check("physical cores (lscpu)", cpu.get("core_count"), int(read("cores.txt")), cpu.get("core_count") == int(read("cores.txt")))

memory = status.get("memory", {})
mem = next(line.split() for line in read("free.txt").splitlines() if line.startswith("Mem:"))
free_total, free_used = int(mem[1]), int(mem[2])
check("memory total (free -b)", memory.get("total"), free_total, memory.get("total") == free_total)
check("memory used, within 5 % (free -b)", memory.get("used"), free_used, within(memory.get("used"), free_used, 0.05))

df = {}
for line in read("df.txt").splitlines()[1:]:
    target, size, used, avail = line.rsplit(None, 3)
    df[target] = (int(size), int(used), int(avail))
disks = status.get("disks", [])
if not disks:
    check("disks", 0, len(df), False)
for disk in disks:
    mount = disk.get("mount")
    if mount not in df:
        check(f"disk {mount}: in df", "listed", "missing", False)
        continue
    size, used, avail = df[mount]
    use = used / (used + avail) * 100 if used + avail else 0
    check(f"disk {mount}: size (df -B1)", disk.get("total"), size, disk.get("total") == size)
    check(f"disk {mount}: use %, within 1", round(disk.get("used_percent", -100), 2), round(use, 2),
          abs(disk.get("used_percent", -100) - use) <= 1)

processes = int(read("ps.txt"))
check("processes, within 5 % (ps -e)", status.get("procs"), processes, within(status.get("procs"), processes, 0.05))

interfaces = [line.split(":")[0].strip() for line in read("netdev.txt").splitlines() if ":" in line]
for network in status.get("network", []):
    name = network.get("name")
    rates = f"{network.get('rx_rate_mbs', '-')}/{network.get('tx_rate_mbs', '-')} MB/s"
    check(f"interface {name} (/proc/net/dev)", rates, "listed" if name in interfaces else "missing",
          name in interfaces and name != "lo")

print("all PASS" if failures == 0 else f"{failures} FAIL")
sys.exit(1 if failures else 0)
EOF
