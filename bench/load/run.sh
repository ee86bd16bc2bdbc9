#!/usr/bin/env bash
# Load benchmark (run by hand as root, never as a test). The server runs in
# a network namespace, the load generators in another, joined by a veth
# pair. Each round measures:
#   inform      Information-requests, closed loop (bench/load/inforeq.c)
#   4msg/RATE   Solicit-Advertise-Request-Reply at a fixed offered rate
#               (perfdhcp), addresses only, and with --prefix also prefixes
#   max         the highest offered rate with at most 1 % of the exchanges
#               lost, found by bisection with short runs
# and for each: completed exchanges/s, drops %, the server's CPU time per
# completed exchange (utime + stime from /proc), latency p50/p99 and RSS.
# With --peer kea the same runs go against Kea's DHCPv6 server (memfile,
# or PostgreSQL with --db pgsql), the servers alternating round by round;
# the summary gives the median of the rounds, their spread, and the
# ratio ours/Kea per figure.
#
#   bench/load/run.sh [--peer kea] [--db sqlite|pgsql] [--threads "1 2"]
#                     [--rounds 3] [--seconds 10] [--rates "2000 5000 10000"]
#                     [--prefix] [--no-max] [--fill N] [--crash] [--build DIR]
#
# --fill N stores N bindings in our database before the runs (the cost per
# exchange on a full database). --crash runs the crash check instead: the
# server is killed with SIGKILL under load, restarted, and every Reply
# captured must still be held. Without --build the server is built in
# build-bench (Release). Missing tools are installed from Debian.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
peer="" db=sqlite threads="1 2" rounds=3 seconds=10 rates="2000 5000 10000"
prefix=0 max=1 fill=0 crash=0 build=""
args=("$@")
while [ $# -gt 0 ]; do
  case $1 in
    --peer) peer=$2; shift ;;
    --db) db=$2; shift ;;
    --threads) threads=$2; shift ;;
    --rounds) rounds=$2; shift ;;
    --seconds) seconds=$2; shift ;;
    --rates) rates=$2; shift ;;
    --prefix) prefix=1 ;;
    --no-max) max=0 ;;
    --fill) fill=$2; shift ;;
    --crash) crash=1 ;;
    --build) build=$(realpath "$2"); shift ;;
    *) sed -n '2,/^set -u/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 2 ;;
  esac
  shift
done

if [ "$db" = pgsql ] && [ -z "${NUV_TEST_PG:-}" ]; then
  # A throwaway PostgreSQL server for both; the arguments are passed on.
  exec "$root/scripts/with_pg.sh" "$0" "${args[@]}"
fi

# ---- what it needs ------------------------------------------------------
need=()
command -v perfdhcp > /dev/null || need+=(kea-admin)
command -v cc > /dev/null || need+=(gcc)
command -v tshark > /dev/null || need+=(tshark)
[ "$peer" = kea ] && ! command -v kea-dhcp6 > /dev/null && need+=(kea-dhcp6-server)
if [ ${#need[@]} -gt 0 ]; then
  echo "installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq && apt-get install -y -qq --no-install-recommends "${need[@]}" > /dev/null ||
    { echo "cannot install ${need[*]}" >&2; exit 1; }
fi
if [ -z "$build" ]; then
  "$root/scripts/setup.sh" || exit 1
  build=$root/build-bench
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DNUV_BUILD_TESTS=OFF \
    -DNUV_BUILD_BENCH=OFF > /dev/null && cmake --build "$build" > /dev/null || exit 1
fi
. "$root/tests/e2e/netns_lib.sh"
e2e_require perfdhcp
cc -O2 -Wall -o "$E2E_DIR/inforeq" "$here/inforeq.c" || exit 1
. "$here/servers.sh"
. "$here/measure.sh"

e2e_setup

tick=$(getconf CLK_TCK)

# run SERVER THREADS NAME LOAD...: one measured run against the running
# server; one result line appended to results.txt.
results=$E2E_DIR/results.txt
run() {
  local server=$1 n=$2 name=$3
  shift 3
  local pid cpu0 cpu1 figures
  pid=$(server_pid)
  cpu0=$(proc_cpu "$pid")
  figures=$("$@")
  cpu1=$(proc_cpu "$pid")
  # figures: completed exchanges, their rate, drops %, p50 and p99 in µs.
  read -r done rate drops p50 p99 <<< "$figures"
  local us=0
  [ "$done" -gt 0 ] && us=$(((cpu1 - cpu0) * 1000000 / tick / done))
  printf '%s %s %s %s %s %s %s %s %s\n' "$server" "$n" "$name" "$rate" "$drops" "$us" "$p50" \
    "$p99" "$(proc_rss "$pid")" >> "$results"
  printf '  %-5s %s %-14s %7s/s drops %5s%% cpu %4s us p50 %6s us p99 %7s us rss %s MB\n' \
    "$server" "$n" "$name" "$rate" "$drops" "$us" "$p50" "$p99" "$(proc_rss "$pid")"
}

# max_rate SERVER THREADS: bisection for the highest offered rate with at
# most 1 % of the exchanges lost (5 s runs); the rate found is measured
# once more as "max".
max_rate() {
  local lo=100 hi=20000 mid drops
  while [ $((hi - lo)) -gt $((lo / 10 + 100)) ]; do
    mid=$(((lo + hi) / 2))
    server_restart
    read -r _ _ drops _ _ <<< "$(load_4msg "$mid" 5)"
    if awk -v d="$drops" 'BEGIN { exit !(d <= 1.0) }'; then lo=$mid; else hi=$mid; fi
  done
  server_restart
  echo "  $1 $2 highest offered rate with <= 1 % lost: $lo/s"
  run "$1" "$2" max load_4msg "$lo" "$seconds"
}

if [ "$crash" = 1 ]; then
  # The crash test of the end-to-end suite at the benchmark's rate, length
  # and database, against the benchmark's build.
  E2E_CRASH_RATE=${rates%% *} E2E_CRASH_SECONDS=$seconds E2E_CRASH_KILLS=${E2E_CRASH_KILLS:-2} \
    bash "$root/tests/e2e/crash_test.sh" "$build/host/dhcp6d" "$build/tools/dhcp6ctl" "$build/plugins"
  exit $?
fi

servers=(ours)
[ -n "$peer" ] && servers+=("$peer")
echo "load benchmark: db $db, ${seconds}s runs, rounds $rounds, $(nproc) cores, $(uname -r)"
for r in $(seq "$rounds"); do
  echo "round $r"
  # Alternate which server goes first: a machine that slows down over the
  # run then costs both alike.
  order=("${servers[@]}")
  [ $((r % 2)) -eq 0 ] && [ ${#servers[@]} -gt 1 ] && order=("${servers[1]}" "${servers[0]}")
  for server in "${order[@]}"; do
    for n in $threads; do
      server_use "$server" "$n"
      server_restart
      run "$server" "$n" inform load_inform 64 "$seconds"
      for rate in $rates; do
        server_restart
        run "$server" "$n" "4msg@$rate" load_4msg "$rate" "$seconds"
        if [ "$prefix" = 1 ]; then
          server_restart
          run "$server" "$n" "4msg+pd@$rate" load_4msg "$rate" "$seconds" -e address-and-prefix
        fi
      done
      [ "$max" = 1 ] && max_rate "$server" "$n"
      server_stop
    done
  done
done
summarize "$results" "$peer"
