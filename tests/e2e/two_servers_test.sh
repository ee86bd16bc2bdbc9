#!/usr/bin/env bash
# Two servers, one PostgreSQL database (run through scripts/with_pg.sh):
# two dhcp6d with server DUIDs and system.index values of their own serve
# one link (a bridge joining both server namespaces and two client
# namespaces) from the same pools, with leases of 20 s that expire, are
# renewed and are reclaimed by both servers' reclaimers. Two perfdhcp
# clients run four-message exchanges and renewals against them. Meanwhile
# no address or prefix is ever leased to one client and offered to
# another (the database's unique keys keep each in one lease and one
# offer at most); afterwards every lease granted and not run out is held
# by its client, no Reply came from a server other than the one the
# client named, and none refused an offer (neither server withdrew nor
# collected what the other had offered).
#   two_servers_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require perfdhcp psql
[ -n "${NUV_TEST_PG:-}" ] || e2e_fail "run through scripts/with_pg.sh"
seconds=40
link="${E2E_ID}l"
e2e_netns "$E2E_SRV" "${E2E_SRV}2" "$E2E_CLI" "${E2E_CLI}2" "$link"
# No multicast snooping: every port hears every Solicit at once.
ip netns exec "$link" ip link add br0 type bridge mcast_snooping 0
ip netns exec "$link" ip link set br0 up
port() {  # NS IF ADDR: a port of the bridge to IF in NS
  e2e_veth "$1" "$2" "$3" "$link" "$2l" -
  ip netns exec "$link" ip link set "$2l" master br0
}
port "$E2E_SRV" "${E2E_ID}vs" fd00:e2e::1/64
port "${E2E_SRV}2" "${E2E_ID}vs2" fd00:e2e::3/64
port "$E2E_CLI" "${E2E_ID}vc" fd00:e2e::2/64
port "${E2E_CLI}2" "${E2E_ID}vc2" fd00:e2e::4/64
e2e_address "${E2E_SRV}2" "${E2E_ID}vs2" 2001:db8:100::3/64
e2e_database
E2E_LOG_LEVELS="error,warning,info"
E2E_NICE=-10
E2E_CAPTURE_SECONDS=$((seconds + 60))
common=("ipv6.dhcpv6.engine.thread_count = 2" "ipv6.dhcpv6.reclaimer.interval = 1"
        "ipv6.dhcpv6.reclaimer.lead_time = 1" "${E2E_DB_LINES[@]}")
e2e_serve "$@" "${common[@]}" "system.index = 1" "system.duid = 00-03-00-01-02-00-00-00-0a-01"
E2E_SERVE_AS=2 e2e_serve "$@" "${common[@]}" "system.index = 2" \
  "system.duid = 00-03-00-01-02-00-00-00-0a-02"
E2E_PREFERRED=10
E2E_VALID=20
e2e_load_pools
keys=$(e2e_psql "SELECT count(*) FROM pg_indexes WHERE indexdef LIKE 'CREATE UNIQUE INDEX %(addr_key)'
                 AND tablename IN ('dhcp_abindings6', 'dhcp_nbindings6', 'dhcp_apendings6',
                                   'dhcp_npendings6')")
[ "$keys" = 4 ] || e2e_fail "not every lease and offer table has a unique key on its address ($keys)"
e2e_capture_start
e2e_capture_start "${E2E_CLI}2" "${E2E_ID}vc2"

# Each server handles every message of both clients (a Request for the
# other server too); renewals (-f) at a tenth of the rate of new exchanges.
e2e_perfdhcp perfdhcp "$seconds" 40 -f 4 -b mac=00:0c:01:00:00:00
first=$E2E_LOAD
E2E_LOAD_NS="${E2E_CLI}2" E2E_LOAD_IF="${E2E_ID}vc2" \
  e2e_perfdhcp perfdhcp2 "$seconds" 40 -f 4 -b mac=00:0c:02:00:00:00
second=$E2E_LOAD

# An address or prefix leased to one client and offered to another.
crossed="SELECT b.ADDR_KEY FROM dhcp_abindings6 b JOIN dhcp_apendings6 p
           ON p.ADDR_KEY = b.ADDR_KEY AND p.CLIENT_ID <> b.CLIENT_ID
         UNION ALL SELECT b.ADDR_KEY FROM dhcp_nbindings6 b JOIN dhcp_npendings6 p
           ON p.ADDR_KEY = b.ADDR_KEY AND p.CLIENT_ID <> b.CLIENT_ID"
samples=0
while kill -0 "$first" 2>/dev/null || kill -0 "$second" 2>/dev/null; do
  both=$(e2e_psql "$crossed")
  [ -z "$both" ] || e2e_fail "leased to one client and offered to another: $both"
  samples=$((samples + 1))
  sleep 0.5
done
e2e_perfdhcp_wait "$first"
e2e_perfdhcp_wait "$second"

# A busy server answers its status query once it has worked off the rest.
for _ in $(seq 10); do
  one=$(e2e_replies_sent 2>/dev/null)
  two=$(e2e_replies_sent "${E2E_SRV}2" 2>/dev/null)
  [ -n "$one" ] && [ -n "$two" ] && break
done
[ "${one:-0}" -gt 0 ] && [ "${two:-0}" -gt 0 ] || e2e_fail "not both servers replied ($one, $two)"
grep -qh "The server has reclaimed" "$E2E_DIR/server.log" "$E2E_DIR/server2.log" ||
  e2e_fail "no lease expired and was reclaimed during the run"
e2e_capture_check
e2e_leases_held --no-refusals "${E2E_ID}vc" "${E2E_ID}vc2" > "$E2E_DIR/held.txt"
echo "PASS: $samples samples of the database; Replies: $one and $two; $(cat "$E2E_DIR/held.txt")"
