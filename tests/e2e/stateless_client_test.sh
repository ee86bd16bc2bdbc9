#!/usr/bin/env bash
# A real stateless client (dhclient -6 -S) on a link of its own reaches the
# server through the DHCPv6 multicast group; the server counts it.
#   stateless_client_test.sh DHCP6D PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require_root
command -v dhclient >/dev/null || e2e_fail "dhclient is not installed"
e2e_setup
e2e_start_server "$1" "$2"

ip netns exec "$E2E_CLI" timeout 6 dhclient -6 -S -1 -v -lf "$E2E_DIR/client.leases" \
  -pf "$E2E_DIR/client.pid" -sf /bin/true "${E2E_ID}vc" > "$E2E_DIR/client.log" 2>&1
grep -q "XMT: Info-Request" "$E2E_DIR/client.log" || e2e_fail "dhclient sent no Information-request"

stats=$(e2e_query query_stats) || e2e_fail "no answer to query_stats"
input=$(echo "$stats" | sed -n 's/^packets.input=//p')
[ "${input:-0}" -ge 1 ] || e2e_fail "the server counted no input: $stats"
echo "PASS: server received $input datagram(s) from dhclient"
