#!/usr/bin/env bash
# A real client, dhcpcd, asks for an address (IA_NA) and a delegated
# prefix (IA_PD) in one exchange on the server's own link and gets both in
# one Reply, from the pools an operator made with dhcp6ctl; the bindings
# dhcp6ctl lists are the client's. The exchange decodes cleanly in tshark.
#   dhcpcd_lease_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require dhcpcd
e2e_setup
e2e_serve "$@"
e2e_own_link_pools
e2e_capture_start

# Both IAs on the one interface; the prefix is delegated to no interface
# ("-"), and router solicitation stays off so that only DHCPv6 runs.
cat > "$E2E_DIR/dhcpcd.conf" <<CONF
duid
noipv6rs
ipv6only
interface ${E2E_ID}vc
  ia_na 1
  ia_pd 2 -
CONF
e2e_dhcpcd lease -f "$E2E_DIR/dhcpcd.conf" -1 -6 -d -B
env_value() { sed -n "s/^$1=//p" "$E2E_DIR/lease.env"; }
grep -q "REPLY6 received" "$E2E_DIR/lease.log" || e2e_fail "dhcpcd got no Reply"
grep -qx "reason=BOUND6" "$E2E_DIR/lease.env" || e2e_fail "dhcpcd's script was not told BOUND6"
addr=$(env_value new_dhcp6_ia_na1_ia_addr1)
prefix=$(env_value new_dhcp6_ia_pd1_prefix1)
duid=$(e2e_duid "$(env_value new_dhcp6_client_id)")
[ -n "$addr" ] && [ -n "$prefix" ] || e2e_fail "dhcpcd did not get both: $(cat "$E2E_DIR/lease.env")"
[ "$(env_value new_dhcp6_ia_pd1_prefix1_length)" = 56 ] || e2e_fail "the delegated prefix is no /56"
for lifetime in ia_na1_ia_addr1 ia_pd1_prefix1; do
  [ "$(env_value "new_dhcp6_${lifetime}_pltime")" = $E2E_PREFERRED ] &&
    [ "$(env_value "new_dhcp6_${lifetime}_vltime")" = $E2E_VALID ] || e2e_fail "$lifetime: lifetimes"
done
for ia in ia_na1 ia_pd1; do
  [ "$(env_value "new_dhcp6_${ia}_t1")" = $E2E_T1 ] && [ "$(env_value "new_dhcp6_${ia}_t2")" = $E2E_T2 ] ||
    e2e_fail "$ia: renewal and rebinding times"
done
e2e_in_range "$addr" "$E2E_LAN_START" "$E2E_LAN_STOP" || e2e_fail "address $addr is not from pool lan"
e2e_in_range "$prefix" "$E2E_PD_START" "$E2E_PD_STOP" || e2e_fail "prefix $prefix is not from pool pd"

e2e_expect_leases bindings "$addr $duid active"
e2e_expect_leases prefix-bindings "$prefix $duid active"
e2e_expect_record binding "$addr" relay=:: source_pool=lan iatype=iana iaid=1 "client_id=$duid"
e2e_expect_record prefix-binding "$prefix" relay=:: source_pool=pd iatype=iapd iaid=2 \
  prefix_len=56 "client_id=$duid"

e2e_capture_check
# One exchange: a single Request, answered by a Reply holding both IAs.
[ "$(e2e_capture_count "${E2E_ID}vc" 'dhcpv6.msgtype == 3')" -eq 1 ] ||
  e2e_fail "dhcpcd sent more than one Request"
[ "$(e2e_capture_count "${E2E_ID}vc" \
  'dhcpv6.msgtype == 7 && dhcpv6.option.type == 3 && dhcpv6.option.type == 25')" -eq 1 ] ||
  e2e_fail "no Reply holds both IA_NA and IA_PD"
echo "PASS: dhcpcd leased $addr and $prefix/56 in one exchange, as dhcp6ctl lists them"
