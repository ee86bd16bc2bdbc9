#!/usr/bin/env bash
# A real stateless client (dhclient -6 -S) on a link of its own asks the
# server for its configuration through the DHCPv6 multicast group and gets
# the DNS servers and domain search list an operator put into the global
# policy with dhcp6ctl while the server was running. The exchange is
# captured and must decode cleanly in tshark.
#   stateless_client_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require_root
command -v dhclient >/dev/null || e2e_fail "dhclient is not installed"
e2e_setup
e2e_start_server "$1" "$3"
ctl=$2
e2e_global_dns "$ctl"

# The operator lets the server learn; it serves in that mode too.
"$ctl" -c "$E2E_DIR/dhcp6d.conf" mode learning || e2e_fail "dhcp6ctl mode failed"
for _ in $(seq 30); do
  [ "$(e2e_query query_mode)" = "mode=learning" ] && break
  sleep 0.1
done
[ "$(e2e_query query_mode)" = "mode=learning" ] || e2e_fail "the server did not switch to learning"

e2e_capture_start
# dhclient hands the options to its script in the environment.
cat > "$E2E_DIR/client-script" <<SCRIPT
#!/bin/sh
[ -n "\${new_dhcp6_name_servers:-}" ] || exit 0
echo "dns=\$new_dhcp6_name_servers" > "$E2E_DIR/client.env"
echo "search=\$new_dhcp6_domain_search" >> "$E2E_DIR/client.env"
SCRIPT
chmod +x "$E2E_DIR/client-script"
ip netns exec "$E2E_CLI" timeout 10 dhclient -6 -S -1 -v -lf "$E2E_DIR/client.leases" \
  -pf "$E2E_DIR/client.pid" -sf "$E2E_DIR/client-script" "${E2E_ID}vc" \
  > "$E2E_DIR/client.log" 2>&1
grep -q "XMT: Info-Request" "$E2E_DIR/client.log" || e2e_fail "dhclient sent no Information-request"
grep -q "RCV: Reply" "$E2E_DIR/client.log" || e2e_fail "dhclient got no Reply"
grep -qx "dns=$E2E_DNS" "$E2E_DIR/client.env" 2>/dev/null ||
  e2e_fail "client got other DNS servers: $(cat "$E2E_DIR/client.env" 2>/dev/null)"
# dhclient writes the search list's names fully qualified.
grep -qx "search=example.com. example.org." "$E2E_DIR/client.env" ||
  e2e_fail "client got another search list: $(cat "$E2E_DIR/client.env")"
e2e_capture_check
echo "PASS: dhclient received $(head -1 "$E2E_DIR/client.env") and a Reply that decodes cleanly"
