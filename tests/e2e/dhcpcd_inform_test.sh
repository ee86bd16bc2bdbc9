#!/usr/bin/env bash
# A second real client, dhcpcd asking for configuration only (--inform6),
# gets the DNS servers and search list of the global policy.
#   dhcpcd_inform_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require dhcpcd
e2e_setup
e2e_serve "$@"
e2e_global_dns
e2e_capture_start

e2e_dhcpcd info -6 --inform6 -1 -d -B -t 8 -f /dev/null -o dhcp6_name_servers \
  -o dhcp6_domain_search
grep -q "REPLY6 received" "$E2E_DIR/info.log" || e2e_fail "dhcpcd got no Reply"
grep -qx "reason=INFORM6" "$E2E_DIR/info.env" 2>/dev/null || e2e_fail "dhcpcd's script did not run"
grep -qx "new_dhcp6_name_servers=$E2E_DNS" "$E2E_DIR/info.env" ||
  e2e_fail "client got other DNS servers: $(cat "$E2E_DIR/info.env")"
grep -qx "new_dhcp6_domain_search=$E2E_SEARCH" "$E2E_DIR/info.env" ||
  e2e_fail "client got another search list: $(cat "$E2E_DIR/info.env")"
e2e_capture_check
echo "PASS: dhcpcd received DNS servers $E2E_DNS and a Reply that decodes cleanly"
