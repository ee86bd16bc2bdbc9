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
command -v tshark >/dev/null || e2e_fail "tshark is not installed"
e2e_setup
e2e_start_server "$1" "$3"
ctl=$2

# The operator's change reaches the running server.
"$ctl" -c "$E2E_DIR/dhcp6d.conf" change policy "Global Optional" \
  option="dns-servers = 2001:db8::53, 2001:db8::54" \
  option="domain-search = example.com, example.org" > "$E2E_DIR/ctl.log" 2>&1 ||
  e2e_fail "dhcp6ctl failed: $(cat "$E2E_DIR/ctl.log")"

# The operator lets the server learn; it serves in that mode too.
"$ctl" -c "$E2E_DIR/dhcp6d.conf" mode learning || e2e_fail "dhcp6ctl mode failed"
for _ in $(seq 30); do
  [ "$(e2e_query query_mode)" = "mode=learning" ] && break
  sleep 0.1
done
[ "$(e2e_query query_mode)" = "mode=learning" ] || e2e_fail "the server did not switch to learning"

ip netns exec "$E2E_CLI" timeout 20 tshark -q -i "${E2E_ID}vc" \
  -f 'udp port 546 or udp port 547' -w "$E2E_DIR/exchange.pcap" > "$E2E_DIR/tshark.log" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 50); do
  grep -q "Capturing on" "$E2E_DIR/tshark.log" && break
  sleep 0.1
done

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
grep -q "RCV: Reply" "$E2E_DIR/client.log" || e2e_fail "dhclient got no Reply: $(cat "$E2E_DIR/client.log")"
grep -qx "dns=2001:db8::53 2001:db8::54" "$E2E_DIR/client.env" 2>/dev/null ||
  e2e_fail "client got other DNS servers: $(cat "$E2E_DIR/client.env" 2>/dev/null)"
grep -qx "search=example.com. example.org." "$E2E_DIR/client.env" ||
  e2e_fail "client got another search list: $(cat "$E2E_DIR/client.env")"

# Let tshark write what it saw, then decode it.
sleep 0.5
kill "${E2E_PIDS[-1]}" 2>/dev/null
wait "${E2E_PIDS[-1]}" 2>/dev/null
replies=$(tshark -r "$E2E_DIR/exchange.pcap" -Y 'dhcpv6.msgtype == 7' 2>/dev/null | wc -l)
[ "$replies" -ge 1 ] || e2e_fail "no Reply in the capture"
bad=$(tshark -r "$E2E_DIR/exchange.pcap" -Y '_ws.malformed || _ws.expert.severity >= error' \
  2>/dev/null | wc -l)
[ "$bad" -eq 0 ] || e2e_fail "tshark found malformed or erroneous packets:
$(tshark -r "$E2E_DIR/exchange.pcap" -V 2>/dev/null | tail -60)"
echo "PASS: dhclient received $(head -1 "$E2E_DIR/client.env") and a Reply that decodes cleanly"
