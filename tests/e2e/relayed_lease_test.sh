#!/usr/bin/env bash
# A client behind a relay agent (ISC dhcrelay in a namespace between the
# client's link and the server's) leases an address from the pool of the
# relay's link: not from the pool of the server's own link, nor from that
# of another relayed link. The relay adds an Interface-ID, which the
# server returns in its Relay-reply. Both links' captures decode cleanly.
#   relayed_lease_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require dhclient dhcrelay
# The relay's address on the client's link, the link-address it relays with.
link=2001:db8:2::1
e2e_setup_relayed "$link/64"
e2e_serve "$@"
e2e_address_pool own fd00:e2e::100 fd00:e2e::1ff ::
e2e_address_pool relayed 2001:db8:2::100 2001:db8:2::1ff "$link"
e2e_address_pool elsewhere 2001:db8:3::100 2001:db8:3::1ff 2001:db8:3::1
e2e_capture_start
e2e_capture_start "$E2E_SRV" "${E2E_ID}vs"

ip netns exec "$E2E_RLY" timeout 60 dhcrelay -6 -d --no-pid -I -l "${E2E_ID}vl" \
  -u "fd00:e2e::1%${E2E_ID}vu" > "$E2E_DIR/relay.log" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 50); do
  grep -qs "Sending on.*${E2E_ID}vl" "$E2E_DIR/relay.log" && break
  sleep 0.1
done
grep -qs "Sending on.*${E2E_ID}vl" "$E2E_DIR/relay.log" || e2e_fail "dhcrelay did not start"

e2e_dhclient na
grep -q "PRC: Bound to lease" "$E2E_DIR/na.log" || e2e_fail "dhclient got no lease"
addr=$(e2e_lease_value na iaaddr) || exit 1
e2e_in_range "$addr" 2001:db8:2::100 2001:db8:2::1ff ||
  e2e_fail "address '$addr' is not from the relayed link's pool"
grep -q "Relaying Reply to" "$E2E_DIR/relay.log" || e2e_fail "the relay passed no Reply down"
duid=$(e2e_duid "$(e2e_lease_value na option\ dhcp6.client-id)")
e2e_expect_leases bindings "$addr $duid active"
e2e_expect_record binding "$addr" "relay=$link" source_pool=relayed iatype=iana "client_id=$duid"

e2e_capture_check
# The server's link carries the relayed exchange, and every Relay-reply
# carries the Interface-ID (option 18) back.
vs="${E2E_ID}vs"
[ "$(e2e_capture_count "$vs" 'dhcpv6.msgtype == 12')" -ge 2 ] || e2e_fail "no Relay-forward seen"
replies=$(e2e_capture_count "$vs" 'dhcpv6.msgtype == 13')
[ "$replies" -ge 2 ] || e2e_fail "no Relay-reply seen"
[ "$(e2e_capture_count "$vs" 'dhcpv6.msgtype == 13 && dhcpv6.option.type == 18')" -eq "$replies" ] ||
  e2e_fail "a Relay-reply lacks the Interface-ID"
echo "PASS: dhclient behind dhcrelay leased $addr from the relayed link's pool"
