#!/usr/bin/env bash
# The database goes away under load and comes back: perfdhcp (Kea) runs
# four-message exchanges at a steady rate while the PostgreSQL server is
# stopped for 10 s (run through scripts/with_pg.sh) or, on SQLite, while
# the small file system holding the database is full for 10 s. The server
# drops what it cannot serve, says so in a few log lines (not one per
# message) and counts it; once the database is back it serves again by
# itself, and every lease granted before, during and after is held.
#   db_outage_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require perfdhcp psql
seconds=40
outage=10
e2e_setup
e2e_database
# On SQLite the storage path is a file system of its own, to fill.
[ -n "${NUV_TEST_PG:-}" ] || e2e_tmpfs "$E2E_DIR/var" 32m
E2E_LOG_LEVELS="error,warning,info"
E2E_NICE=-10
E2E_CAPTURE_SECONDS=$((seconds + 60))
e2e_serve "$@" "ipv6.dhcpv6.engine.thread_count = 2" "${E2E_DB_LINES[@]}"
server=${E2E_PIDS[-1]}
e2e_load_pools
e2e_capture_start
e2e_perfdhcp perfdhcp "$seconds" 100
load=$E2E_LOAD

sleep 8
[ "$(e2e_replies_sent)" -gt 0 ] || e2e_fail "no Reply before the outage"
if [ -n "${NUV_TEST_PG:-}" ]; then
  e2e_pg_ctl stop
else
  # Until the disk is full; dd's complaint about it is expected.
  dd if=/dev/zero of="$E2E_DIR/var/filler" bs=64k 2> /dev/null
fi
sleep "$outage"
unavailable=$(e2e_query query_stats | sed -n 's/^packets\.db_unavailable=//p')
if [ -n "${NUV_TEST_PG:-}" ]; then e2e_pg_ctl start; else rm -f "$E2E_DIR/var/filler"; fi
back=$(e2e_replies_sent)
e2e_perfdhcp_wait "$load"
after=$(e2e_replies_sent)

[ "${unavailable:-0}" -gt 0 ] || e2e_fail "no message was counted as dropped for the database"
[ "$after" -gt "$back" ] || e2e_fail "no Reply after the database came back ($back, $after)"
kill -0 "$server" || e2e_fail "the server did not survive the outage"
lines=$(grep -c "The database is \(still \)\?unavailable" "$E2E_DIR/server.log")
[ "$lines" -ge 1 ] && [ "$lines" -le $((outage / 10 + 3)) ] ||
  e2e_fail "$lines log lines about the unavailable database for $unavailable dropped messages"
grep -q "The database is available again" "$E2E_DIR/server.log" ||
  e2e_fail "no log line said that the database was back"
e2e_capture_check
e2e_leases_held > "$E2E_DIR/held.txt"
echo "PASS: $unavailable messages dropped in $lines log lines; Replies: $back when the database" \
  "came back, $after at the end; $(cat "$E2E_DIR/held.txt")"
