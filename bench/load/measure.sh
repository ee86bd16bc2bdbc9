# Loads and figures of bench/load/run.sh. A load prints one line: completed
# exchanges, their rate a second, the exchanges lost in %, and latency p50
# and p99 in microseconds.

# proc_cpu PID: user + system time of every thread of the process, in ticks.
proc_cpu() {
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# proc_rss PID: resident memory in MB.
proc_rss() {
  awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"
}

# load_inform OUTSTANDING SECONDS: Information-requests, closed loop.
load_inform() {
  ip netns exec "$E2E_CLI" timeout $(($2 + 30)) "$E2E_DIR/inforeq" -i "${E2E_ID}vc" -n "$1" -d "$2" \
    > "$E2E_DIR/inforeq.log" 2>&1
  awk '{ for (i = 1; i <= NF; i++) { split($i, kv, "="); f[kv[1]] = kv[2] } }
    END { print f["answered"] + 0, f["rate"] + 0, f["drops_pct"] + 0, f["p50_us"] + 0,
          f["p99_us"] + 0 }' "$E2E_DIR/inforeq.log"
}

# load_4msg RATE SECONDS [perfdhcp options]: four-message exchanges offered
# at RATE from ever new clients (perfdhcp); latency is Request to Reply,
# the half of the exchange that stores the lease.
load_4msg() {
  local rate=$1 seconds=$2
  shift 2
  ip netns exec "$E2E_CLI" timeout $((seconds + 30)) perfdhcp -6 -l "${E2E_ID}vc" -r "$rate" \
    -p "$seconds" -R 100000000 -W 2000000 -x t "$@" > "$E2E_DIR/perfdhcp.log" 2>&1
  python3 - "$seconds" "$E2E_DIR/perfdhcp.log" << 'PY'
import sys
seconds, part, solicits, replies, delays = float(sys.argv[1]), "", 0, 0, []
for line in open(sys.argv[2]):
    if line.startswith("***"):
        part = line.strip("*\n")
    elif part == "Statistics for: SOLICIT-ADVERTISE" and line.startswith("sent packets:"):
        solicits = int(line.split()[2])
    elif part == "Statistics for: REQUEST-REPLY" and line.startswith("received packets:"):
        replies = int(line.split()[2])
    elif part == "Timestamps for packets: REQUEST-REPLY" and line.startswith("sent / received:"):
        f = line.split()
        delays.append((float(f[5]) - float(f[3])) * 1e6)
delays.sort()
lost = max(0.0, 100.0 * (solicits - replies) / solicits) if solicits else 100.0
pick = lambda q: delays[min(len(delays) - 1, int(len(delays) * q))] if delays else 0
print(f"{replies} {replies / seconds:.0f} {lost:.2f} {pick(0.5):.0f} {pick(0.99):.0f}")
PY
}

# summarize RESULTS [PEER]: per server, thread count and run, the median of
# the rounds and their spread (min-max); with a peer, the ratio ours/peer
# of each median.
summarize() {
  echo
  echo "median of the rounds [min-max]; cpu = server CPU time per completed exchange"
  python3 - "$@" << 'PY'
import statistics, sys
from collections import defaultdict
rows = defaultdict(list)
for line in open(sys.argv[1]):
    server, threads, name, *values = line.split()
    rows[(server, threads, name)].append([float(v) for v in values])
peer = sys.argv[2] if len(sys.argv) > 2 else ""
fields = ["rate/s", "drops%", "cpu us", "p50 us", "p99 us", "rss MB"]
def med(key, i):
    return statistics.median(r[i] for r in rows[key])
print(f"{'server':6} {'thr':>3} {'run':14} " + " ".join(f"{f:>18}" for f in fields))
for key in sorted(rows):
    cells = []
    for i in range(len(fields)):
        vals = [r[i] for r in rows[key]]
        cells.append(f"{med(key, i):>7g} [{min(vals):g}-{max(vals):g}]".rjust(18))
    print(f"{key[0]:6} {key[1]:>3} {key[2]:14} " + " ".join(cells))
if peer:
    print()
    print(f"ratio ours/{peer} (medians; below 1 is cheaper or faster for cpu/latency/rss, "
          "above 1 is faster for rate/s)")
    for key in sorted(k for k in rows if k[0] == "ours"):
        other = (peer, key[1], key[2])
        if other not in rows:
            continue
        ratios = []
        for i, f in enumerate(fields):
            if f == "drops%":
                continue
            a, b = med(key, i), med(other, i)
            ratios.append(f"{f} {a / b:.2f}" if b else f"{f} -")
        print(f"{key[1]} thr {key[2]:14} " + "  ".join(ratios))
PY
}
