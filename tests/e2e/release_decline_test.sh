#!/usr/bin/env bash
# A real client, dhclient, leases an address (IA_NA) and releases it
# (dhclient -r): the binding dhcp6ctl lists is released. Leased again, the
# address is declined by a Decline made with scapy in the client's name:
# the server answers with a Reply of status Success and the binding is
# gone from the list. The exchanges decode cleanly in tshark.
#   release_decline_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require dhclient
e2e_setup
e2e_serve "$@"
e2e_own_link_pools
e2e_capture_start

# Release.
e2e_dhclient na
addr=$(e2e_lease_value na iaaddr) || exit 1
duid=$(e2e_duid "$(e2e_lease_value na option\ dhcp6.client-id)")
e2e_expect_leases bindings "$addr $duid active"
# dhclient -r ends the client of the pid file, then releases.
e2e_dhclient_pid na > /dev/null || exit 1
ip netns exec "$E2E_CLI" timeout 20 dhclient -6 -r -v -lf "$E2E_DIR/na.leases" \
  -pf "$E2E_DIR/na.pid" -sf "$E2E_DIR/na.hook" "${E2E_ID}vc" >> "$E2E_DIR/na.log" 2>&1 ||
  e2e_fail "dhclient -r failed"
e2e_expect_leases bindings "$addr $duid released"

# Decline: the same client (its DUID is kept in the lease file) leases again.
rm -f "$E2E_DIR/na.env"
e2e_dhclient na
e2e_dhclient_stop na
# The lease file now holds both leases; the last is the new one.
last() { sed -n "s/^ *$1 \\([^ ;]*\\).*/\\1/p" "$E2E_DIR/na.leases" | tail -1; }
addr=$(last iaaddr)
iaid=$(e2e_lease_iaid na ia-na) || exit 1
client_id=$(last option\ dhcp6.client-id)
server_id=$(last option\ dhcp6.server-id)
[ -n "$addr" ] && [ -n "$iaid" ] && [ -n "$client_id" ] && [ -n "$server_id" ] ||
  e2e_fail "the lease file lacks the second lease: $(cat "$E2E_DIR/na.leases")"
e2e_expect_leases bindings "$addr $duid active"
hexbytes() { tr ':' '\n' <<<"$1" | awk '{ printf "%02s", $0 }' | tr ' ' 0; }
ip netns exec "$E2E_CLI" timeout 20 /usr/bin/python3 - "${E2E_ID}vc" "$(hexbytes "$client_id")" \
  "$(hexbytes "$server_id")" "$iaid" "$addr" \
  > "$E2E_DIR/decline.log" 2>&1 <<'PY' || e2e_fail "the Decline was not answered with Success"
import socket, struct, sys
from scapy.layers.dhcp6 import (DHCP6_Decline, DHCP6_Reply, DHCP6OptClientId, DHCP6OptServerId,
                                DHCP6OptIA_NA, DHCP6OptIAAddress, DHCP6OptStatusCode)
ifname, client, server, iaid, addr = sys.argv[1:]
option = lambda code, data: struct.pack("!HH", code, len(data)) + data
client, server = bytes.fromhex(client), bytes.fromhex(server)
decline = (DHCP6_Decline(trid=0x4ec11e) / DHCP6OptClientId(option(1, client)) /
           DHCP6OptServerId(option(2, server)) /
           DHCP6OptIA_NA(iaid=int(iaid), T1=0, T2=0,
                         ianaopts=[DHCP6OptIAAddress(addr=addr, preflft=0, validlft=0)]))
s = socket.socket(socket.AF_INET6, socket.SOCK_DGRAM)
s.bind(("::", 546))
s.settimeout(5)
# Declines are sent again when unanswered, as a client does.
for _ in range(3):
    s.sendto(bytes(decline), ("ff02::1:2", 547, 0, socket.if_nametoindex(ifname)))
    try:
        reply = DHCP6_Reply(s.recv(65535))
        break
    except socket.timeout:
        continue
else:
    sys.exit("no Reply")
reply.show()
assert reply.msgtype == 7 and reply.trid == 0x4ec11e, "not the Reply to the Decline"
status = reply.getlayer(DHCP6OptStatusCode)
assert status is not None and status.statuscode == 0, "no status Success: %r" % reply
PY
e2e_expect_leases bindings

e2e_capture_check
for msgtype in 8:Release 9:Decline; do
  [ "$(e2e_capture_count "${E2E_ID}vc" "dhcpv6.msgtype == ${msgtype%:*}")" -ge 1 ] ||
    e2e_fail "no ${msgtype#*:} captured"
done
echo "PASS: dhclient released $addr; a Decline of it removed its binding"
