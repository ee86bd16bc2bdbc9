#!/usr/bin/env bash
# No acknowledged lease is lost when the server is killed: perfdhcp (Kea)
# runs four-message exchanges for an address and a prefix at a steady rate
# while tshark records the Replies on the client's link; the server is
# killed with SIGKILL during the run and started again on the same
# storage. Afterwards every address and prefix a captured Reply granted is
# a lease of the client it went to, and none is held twice. On SQLite, or
# on PostgreSQL when run through scripts/with_pg.sh.
#   crash_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
# E2E_CRASH_SECONDS (default 15) sets the length of the run,
# E2E_CRASH_RATE (default 200) the exchanges per second, E2E_CRASH_KILLS
# (default 1) how often the server is killed, evenly spread; by hand e.g.
#   E2E_CRASH_SECONDS=300 E2E_CRASH_KILLS=10 crash_test.sh ...
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require perfdhcp psql
seconds=${E2E_CRASH_SECONDS:-15}
rate=${E2E_CRASH_RATE:-200}
kills=${E2E_CRASH_KILLS:-1}
e2e_setup
e2e_database
E2E_LOG_LEVELS="error,warning,info"
E2E_NICE=-10
E2E_CAPTURE_SECONDS=$((seconds + 60))
config=("ipv6.dhcpv6.engine.thread_count = 2" "${E2E_DB_LINES[@]}")
e2e_serve "$@" "${config[@]}"
server=${E2E_PIDS[-1]}
e2e_load_pools
e2e_capture_start
e2e_perfdhcp perfdhcp "$seconds" "$rate"
load=$E2E_LOAD

pause=$(python3 -c "print($seconds / ($kills + 1))")
for n in $(seq "$kills"); do
  sleep "$pause"
  before=$(e2e_replies_sent)
  [ "${before:-0}" -gt 0 ] || e2e_fail "no Reply sent before kill $n"
  kill -9 "$server" || e2e_fail "the server was not running at kill $n"
  wait "$server" 2>/dev/null
  mv "$E2E_DIR/server.log" "$E2E_DIR/server-$n.log"
  e2e_serve "$@" "${config[@]}"
  server=${E2E_PIDS[-1]}
done

e2e_perfdhcp_wait "$load"
after=$(e2e_replies_sent)
[ "${after:-0}" -gt 0 ] || e2e_fail "the restarted server sent no Reply"
e2e_capture_check
e2e_leases_held > "$E2E_DIR/held.txt"
echo "PASS: killed $kills times, $before Replies before the last kill and $after after it;" \
  "$(cat "$E2E_DIR/held.txt")"
