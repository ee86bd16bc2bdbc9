#!/usr/bin/env bash
# Memory and handles over time (run by hand, never as a test): the server
# in a network namespace serves perfdhcp (Kea) four-message exchanges for
# an address and a prefix at a steady rate from ever new clients; leases
# last 60 s, so they expire and the reclaimer removes them all through
# the run. Every 10 s the server's resident memory (VmRSS), its open file
# descriptors, the leases held and the Replies sent so far are written as
# one CSV line to stdout (and SOAK_OUT, if set); a summary follows.
#   bench/soak.sh [MINUTES] [BUILD_DIR]      (as root; defaults 10 and build)
# SOAK_RATE sets the exchanges per second (default 200); with NUV_TEST_PG
# set (scripts/with_pg.sh bench/soak.sh) the database is PostgreSQL.
set -u
minutes=${1:-10}
build=$(realpath "${2:-build}")
rate=${SOAK_RATE:-200}
. "$(dirname "$0")/../tests/e2e/netns_lib.sh"
e2e_require perfdhcp
e2e_setup
e2e_database
E2E_LOG_LEVELS="error,warning,info"
e2e_serve "$build/host/dhcp6d" "$build/tools/dhcp6ctl" "$build/plugins" \
  "ipv6.dhcpv6.engine.thread_count = 2" "ipv6.dhcpv6.reclaimer.interval = 5" \
  "ipv6.dhcpv6.reclaimer.lead_time = 1" "ipv6.dhcpv6.reclaimer.select_count = 5000" \
  "${E2E_DB_LINES[@]}"
server=${E2E_PIDS[-1]}
E2E_PREFERRED=30
E2E_VALID=60
e2e_load_pools
seconds=$((minutes * 60))
e2e_perfdhcp perfdhcp "$seconds" "$rate"
load=$E2E_LOAD

out=${SOAK_OUT:-/dev/null}
echo "seconds,rss_kb,open_files,leases,prefix_leases,replies" | tee "$out"
start=$(date +%s)
while kill -0 "$load" 2>/dev/null; do
  rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$server/status")
  files=$(ls "/proc/$server/fd" | wc -l)
  leases=$(e2e_ctl list bindings | wc -l)
  prefixes=$(e2e_ctl list prefix-bindings | wc -l)
  echo "$(($(date +%s) - start)),$rss,$files,$leases,$prefixes,$(e2e_replies_sent)" | tee -a "$out"
  sleep 10
done
e2e_perfdhcp_wait "$load"
grep -c "The server has reclaimed" "$E2E_DIR/server.log" | sed 's/^/reclaimer runs that removed leases: /'
grep -E '^(sent packets|drops):' "$E2E_DIR/perfdhcp.log" | sort | uniq -c
errors=$(e2e_server_errors)
[ -z "$errors" ] || echo "the server logged errors: $(head -5 <<<"$errors")"
