#!/usr/bin/env bash
# A real client, dhclient, keeps its address (IA_NA) past the renewal and
# rebinding times of a short lease: at T1 it renews with a Renew the server
# answers; while the server is paused it gets no answer, so at T2 it
# rebinds with a Rebind the server, serving again, answers. Each answer
# keeps the address and commits the binding anew. The exchanges decode
# cleanly in tshark.
#   renew_rebind_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require dhclient
e2e_setup
e2e_serve "$@"
# T1 10 s, T2 16 s.
E2E_PREFERRED=20
E2E_VALID=40
e2e_own_link_pools
e2e_capture_start

# addresses: every address dhclient's lease file has held, one a line.
addresses() {
  sed -n 's/^ *iaaddr \([^ ]*\) .*/\1/p' "$E2E_DIR/na.leases" | sort -u
}

# Bound once; dhclient then renews by itself.
e2e_dhclient_watch na
addr=$(e2e_lease_value na iaaddr) || exit 1
duid=$(e2e_duid "$(e2e_lease_value na option\ dhcp6.client-id)")
e2e_expect_leases bindings "$addr $duid active"
first=$(e2e_commit_time binding "$addr")
[ -n "$first" ] || e2e_fail "binding $addr shows no lease_commit"

# wait_log PATTERN COUNT SECONDS: dhclient's log has more than COUNT
# lines matching PATTERN within SECONDS.
wait_log() { e2e_wait_lines "$E2E_DIR/na.log" "$@"; }

# recommitted WHAT BEFORE SECONDS: within SECONDS, dhclient gets one more
# Reply and the binding a lease_commit other than BEFORE (printed); the
# address stays the client's.
recommitted() {
  local commit
  wait_log "RCV: Reply" "$replies" "$3"
  commit=$(e2e_recommitted binding "$addr" "$2" "$1") || exit 1
  [ "$(addresses)" = "$addr" ] || e2e_fail "the lease file holds other addresses: $(addresses)"
  e2e_expect_leases bindings "$addr $duid active"
  echo "$commit"
}

# Renewal at T1 (10 s after the Reply), answered.
replies=$(grep -c "RCV: Reply" "$E2E_DIR/na.log")
wait_log "XMT: Renew" 0 15
renewed=$(recommitted Renew "$first" 5) || exit 1
replies=$(grep -c "RCV: Reply" "$E2E_DIR/na.log")

# The server drops datagrams while paused: the Renews of the next T1 go
# unanswered and the client rebinds at T2 (16 s after the renewal).
e2e_ctl mode paused > /dev/null
renews=$(grep -c "XMT: Renew" "$E2E_DIR/na.log")
wait_log "XMT: Rebind" 0 25
[ "$(grep -c "XMT: Renew" "$E2E_DIR/na.log")" -gt "$renews" ] ||
  e2e_fail "dhclient did not renew again before rebinding"
e2e_ctl mode servicing > /dev/null
# The Rebind is sent again within about 10 s, and answered.
rebound=$(recommitted Rebind "$renewed" 25) || exit 1

e2e_capture_check
e2e_capture_renewals "dhcpv6.iaaddr.ip == $addr"
echo "PASS: dhclient renewed and rebound $addr; commits $first, $renewed, $rebound"
