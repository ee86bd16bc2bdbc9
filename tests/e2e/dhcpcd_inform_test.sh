#!/usr/bin/env bash
# A second real client, dhcpcd asking for configuration only (--inform6),
# gets the DNS servers and search list of the global policy. dhcpcd keeps
# its files in /var/lib/dhcpcd and /run: it runs in a mount namespace of
# its own with empty file systems there, so nothing is left behind.
#   dhcpcd_inform_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require_root
command -v dhcpcd >/dev/null || e2e_fail "dhcpcd is not installed"
e2e_setup
e2e_start_server "$1" "$3"
e2e_global_dns "$2"
e2e_capture_start

cat > "$E2E_DIR/hook" <<HOOK
#!/bin/sh
[ "\$reason" = INFORM6 ] || exit 0
echo "dns=\$new_dhcp6_name_servers" > "$E2E_DIR/client.env"
echo "search=\$new_dhcp6_domain_search" >> "$E2E_DIR/client.env"
HOOK
chmod +x "$E2E_DIR/hook"
ip netns exec "$E2E_CLI" unshare -m sh -c "
  mount -t tmpfs tmpfs /run && mkdir -p /run/dhcpcd &&
  mount -t tmpfs tmpfs /var/lib && mkdir -p /var/lib/dhcpcd &&
  exec timeout 10 dhcpcd -6 --inform6 -1 -d -B -t 8 -f /dev/null -c '$E2E_DIR/hook' \
    -o dhcp6_name_servers -o dhcp6_domain_search '${E2E_ID}vc'" > "$E2E_DIR/client.log" 2>&1
grep -q "REPLY6 received" "$E2E_DIR/client.log" || e2e_fail "dhcpcd got no Reply"
grep -qx "dns=$E2E_DNS" "$E2E_DIR/client.env" 2>/dev/null ||
  e2e_fail "client got other DNS servers: $(cat "$E2E_DIR/client.env" 2>/dev/null)"
grep -qx "search=$E2E_SEARCH" "$E2E_DIR/client.env" ||
  e2e_fail "client got another search list: $(cat "$E2E_DIR/client.env")"
e2e_capture_check
echo "PASS: dhcpcd received $(head -1 "$E2E_DIR/client.env") and a Reply that decodes cleanly"
