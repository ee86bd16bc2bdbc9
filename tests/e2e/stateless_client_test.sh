#!/usr/bin/env bash
# A real stateless client (dhclient -6 -S) on a link of its own asks the
# server for its configuration through the DHCPv6 multicast group and gets
# the DNS servers and domain search list an operator put into the global
# policy with dhcp6ctl while the server was running. The exchange is
# captured and must decode cleanly in tshark.
#   stateless_client_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require dhclient
e2e_setup
e2e_serve "$@"
e2e_global_dns

# The operator lets the server learn; it serves in that mode too.
e2e_ctl mode learning >> "$E2E_DIR/ctl.log"
for _ in $(seq 30); do
  [ "$(e2e_query query_mode)" = "mode=learning" ] && break
  sleep 0.1
done
[ "$(e2e_query query_mode)" = "mode=learning" ] || e2e_fail "the server did not switch to learning"

e2e_capture_start
e2e_dhclient info -S
grep -q "XMT: Info-Request" "$E2E_DIR/info.log" || e2e_fail "dhclient sent no Information-request"
grep -q "RCV: Reply" "$E2E_DIR/info.log" || e2e_fail "dhclient got no Reply"
# dhclient hands the options to its script in the environment.
grep -qx "new_dhcp6_name_servers=$E2E_DNS" "$E2E_DIR/info.env" 2>/dev/null ||
  e2e_fail "client got other DNS servers: $(cat "$E2E_DIR/info.env" 2>/dev/null)"
# dhclient writes the search list's names fully qualified.
grep -qx "new_dhcp6_domain_search=example.com. example.org." "$E2E_DIR/info.env" ||
  e2e_fail "client got another search list: $(cat "$E2E_DIR/info.env")"
e2e_capture_check
echo "PASS: dhclient received DNS servers $E2E_DNS and a Reply that decodes cleanly"
