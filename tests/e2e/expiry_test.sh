#!/usr/bin/env bash
# A pool of eight addresses with a six-second lease: eight clients (scapy,
# each with a DUID of its own) lease all of them and a ninth is told
# NoAddrsAvail; once the leases have expired the reclaimer removes them
# and eight new clients are served from the same pool. The exchanges
# decode cleanly in tshark.
#   expiry_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require
e2e_setup
# Expired leases are reclaimed within a second or two.
e2e_serve "$@" "ipv6.dhcpv6.reclaimer.interval = 1" "ipv6.dhcpv6.reclaimer.lead_time = 1"
E2E_PREFERRED=3
E2E_VALID=6
E2E_LAN_STOP=2001:db8:1::107
e2e_own_link_pools
e2e_capture_start

# clients FIRST COUNT WANT: COUNT clients, numbered from FIRST, each
# solicit and request an address (WANT "leased"), or are each told
# NoAddrsAvail in the Advertise (WANT "none"); the addresses leased go to
# stdout, one a line.
clients() {
  ip netns exec "$E2E_CLI" timeout 60 /usr/bin/python3 - "${E2E_ID}vc" "$@" \
    2>> "$E2E_DIR/clients.log" <<'PY'
import socket, struct, sys
from scapy.layers.dhcp6 import (DHCP6_Solicit, DHCP6_Request, DHCP6_Advertise, DHCP6_Reply,
                                DHCP6OptClientId, DHCP6OptServerId, DHCP6OptIA_NA,
                                DHCP6OptIAAddress, DHCP6OptStatusCode, DUID_LL)
ifname, first, count, want = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
s = socket.socket(socket.AF_INET6, socket.SOCK_DGRAM)
s.bind(("::", 546))
dest = ("ff02::1:2", 547, 0, socket.if_nametoindex(ifname))

def exchange(message, answer):
    # Sent again when unanswered, as a client does; other answers (late
    # ones to earlier messages) are passed over.
    for _ in range(4):
        s.sendto(bytes(message), dest)
        s.settimeout(2)
        try:
            while True:
                got = answer(s.recv(65535))
                if got.trid == message.trid:
                    return got
        except socket.timeout:
            pass
    sys.exit("no answer to %s" % message.summary())

import time
start = time.monotonic()
for n in range(first, first + count):
    client = DHCP6OptClientId(duid=DUID_LL(lladdr="02:00:00:00:%02x:%02x" % (n >> 8, n & 255)))
    ia = DHCP6OptIA_NA(iaid=n, T1=0, T2=0)
    advertise = exchange(DHCP6_Solicit(trid=n * 2) / client / ia, DHCP6_Advertise)
    status = advertise.getlayer(DHCP6OptStatusCode)
    if want == "none":
        if status is None or status.statuscode != 2:
            sys.exit("client %d: no NoAddrsAvail: %r" % (n, advertise))
        continue
    offered = advertise.getlayer(DHCP6OptIAAddress)
    if offered is None:
        sys.exit("client %d: no address offered: %r" % (n, advertise))
    server = advertise.getlayer(DHCP6OptServerId)
    request = (DHCP6_Request(trid=n * 2 + 1) / client / DHCP6OptServerId(duid=server.duid) /
               DHCP6OptIA_NA(iaid=n, T1=0, T2=0, ianaopts=[
                   DHCP6OptIAAddress(addr=offered.addr, preflft=0, validlft=0)]))
    reply = exchange(request, DHCP6_Reply)
    leased = reply.getlayer(DHCP6OptIAAddress)
    status = reply.getlayer(DHCP6OptStatusCode)
    if leased is None or (status is not None and status.statuscode != 0):
        sys.exit("client %d: no address leased: %r" % (n, reply))
    print(leased.addr)
print("%d clients in %.1f s" % (count, time.monotonic() - start), file=sys.stderr)
PY
}

# served FIRST: eight clients from FIRST lease the pool's eight addresses.
served() {
  local leased
  leased=$(clients "$1" 8 leased) || e2e_fail "clients $1 to $(($1 + 7)) were not all served"
  # Listed at once: the leases last six seconds.
  [ "$(e2e_ctl list bindings | awk '{ print $1, $3 }')" = "$(sort <<<"$leased" | sed 's/$/ active/')" ] ||
    e2e_fail "dhcp6ctl does not list the eight leases $leased as active: $(e2e_ctl list bindings)"
  [ "$(sort -u <<<"$leased" | wc -l)" -eq 8 ] || e2e_fail "not eight distinct addresses: $leased"
  while read -r addr; do
    e2e_in_range "$addr" "$E2E_LAN_START" "$E2E_LAN_STOP" || e2e_fail "$addr is not from pool lan"
  done <<<"$leased"
}

served 1
clients 9 1 none > /dev/null || e2e_fail "a ninth client was not told NoAddrsAvail"

# Expired after six seconds, then reclaimed.
for _ in $(seq 300); do
  grep -q "The server has reclaimed" "$E2E_DIR/server.log" &&
    [ -z "$(e2e_ctl list bindings)" ] && break
  sleep 0.1
done
grep -q "The server has reclaimed" "$E2E_DIR/server.log" || e2e_fail "no lease was reclaimed in 30 s"
e2e_expect_leases bindings

served 101
e2e_capture_check
echo "PASS: eight leases expired, were reclaimed and leased again"
