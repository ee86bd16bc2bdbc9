#!/usr/bin/env bash
# What scraping /metrics costs the server under load (run by hand, as
# root; not a test). perfdhcp runs the four-message exchange at 1,000
# exchanges per second for DURATION seconds twice against a fresh server
# each time: once alone, once while /metrics is scraped every 0.1 s (a
# hundred times Prometheus's usual rate, so that the cost shows). Printed
# per run: Replies to Requests, unanswered messages, and the server's CPU
# seconds per thousand Replies; the cost of scraping is the difference.
#   bench/metrics_scrape_bench.sh BUILD_DIR [DURATION]
set -u
build=$(realpath "$1")
duration=${2:-20}
. "$(dirname "$0")/../tests/e2e/netns_lib.sh"
e2e_require perfdhcp

run() {
  local scrape=$1 label=$2
  e2e_setup
  E2E_LOG_LEVELS="error,warning,info"  # e2e_serve waits for an info line
  e2e_serve "$build/host/dhcp6d" "$build/tools/dhcp6ctl" "$build/plugins" \
    "ipv6.dhcpv6.engine.thread_count = 2" "stats.metrics.listen_on = 9547"
  e2e_address_pool lan fd00:e2e::1:0 fd00:e2e::ff:ffff ::
  local server=${E2E_PIDS[-1]} scraper=""
  if [ "$scrape" = 1 ]; then
    ip netns exec "$E2E_SRV" /usr/bin/python3 -c '
import time, urllib.request
while True:
    urllib.request.urlopen("http://[::1]:9547/metrics", timeout=5).read()
    time.sleep(0.1)' &
    scraper=$!
    E2E_PIDS+=("$scraper")
  fi
  local before after
  before=$(awk '{ print $14 + $15 }' "/proc/$server/stat")
  ip netns exec "$E2E_CLI" timeout $((duration + 30)) perfdhcp -6 -l "${E2E_ID}vc" -r 1000 \
    -R 1000000 -p "$duration" -W 2000000 > "$E2E_DIR/perfdhcp-$label.log" 2>&1
  after=$(awk '{ print $14 + $15 }' "/proc/$server/stat")
  [ -n "$scraper" ] && kill "$scraper"
  awk -v label="$label" -v ticks=$((after - before)) -v hz="$(getconf CLK_TCK)" '
    /^sent packets:/ { sent += $3 }
    /^drops:/ { drops += $2 }
    /^\*\*\*Statistics for: REQUEST-REPLY/ { rr = 1 }
    rr && /^received packets:/ { replies = $3; rr = 0 }
    END { printf "%-12s replies %7d  unanswered %5d of %7d  cpu %.3f s per 1000 replies\n",
          label, replies, drops, sent, replies ? ticks / hz * 1000 / replies : 0 }' \
    "$E2E_DIR/perfdhcp-$label.log"
  e2e_cleanup
  E2E_PIDS=() E2E_NAMESPACES=() E2E_LINKS=()
  E2E_DIR="$(mktemp -d /tmp/nuv_e2e.XXXXXX)"
}

run 0 unscraped
run 1 scraped
