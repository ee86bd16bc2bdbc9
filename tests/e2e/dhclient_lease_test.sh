#!/usr/bin/env bash
# A real client, dhclient, leases an address (IA_NA) and then, as a second
# client, a delegated prefix (IA_PD) on the server's own link, from the
# pools an operator made with dhcp6ctl on the running server. The lease
# file holds the pool's lifetimes and the renewal and rebinding times made
# from them; it and the binding dhcp6ctl lists agree on the address or
# prefix, the client's DUID, the IA and the valid lifetime. The exchanges
# decode cleanly in tshark.
#   dhclient_lease_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require dhclient
e2e_setup
e2e_serve "$@"
e2e_own_link_pools
e2e_capture_start

# check_lease NAME IA LEASED: NAME's lease file holds one IA of type IA
# (ia-na, ia-pd) leasing LEASED with the pools' lifetimes and the times
# derived from them.
check_lease() {
  grep -q "PRC: Bound to lease" "$E2E_DIR/$1.log" || e2e_fail "dhclient $1 got no lease"
  e2e_lease_value "$1" "$2" > /dev/null
  grep -qx "reason=BOUND6" "$E2E_DIR/$1.env" || e2e_fail "dhclient $1's script was not told BOUND6"
  [ "$(e2e_lease_value "$1" preferred-life)" = $E2E_PREFERRED ] || e2e_fail "$1: preferred lifetime"
  [ "$(e2e_lease_value "$1" max-life)" = $E2E_VALID ] || e2e_fail "$1: valid lifetime"
  [ "$(e2e_lease_value "$1" renew)" = $E2E_T1 ] || e2e_fail "$1: renewal time"
  [ "$(e2e_lease_value "$1" rebind)" = $E2E_T2 ] || e2e_fail "$1: rebinding time"
  e2e_lease_value "$1" "$3"
}

# The address.
e2e_dhclient na
addr=$(check_lease na ia-na iaaddr) || exit 1
e2e_in_range "$addr" "$E2E_LAN_START" "$E2E_LAN_STOP" || e2e_fail "address $addr is not from pool lan"
grep -qx "new_ip6_address=$addr" "$E2E_DIR/na.env" || e2e_fail "script was given another address"
duid=$(e2e_duid "$(e2e_lease_value na option\ dhcp6.client-id)")
e2e_expect_leases bindings "$addr $duid active"
e2e_expect_record binding "$addr" relay=:: source_pool=lan iatype=iana "client_id=$duid" \
  "iaid=$(e2e_lease_iaid na ia-na)" lease_duration=$E2E_VALID
# The client keeps its lease; the next one needs the client port.
e2e_dhclient_stop na

# The prefix.
e2e_dhclient pd -P
prefix=$(check_lease pd ia-pd iaprefix) || exit 1
[ "${prefix#*/}" = 56 ] || e2e_fail "delegated prefix $prefix is not a /56"
e2e_in_range "${prefix%/*}" "$E2E_PD_START" "$E2E_PD_STOP" ||
  e2e_fail "prefix $prefix is not from pool pd"
grep -qx "new_ip6_prefix=$prefix" "$E2E_DIR/pd.env" || e2e_fail "script was given another prefix"
pd_duid=$(e2e_duid "$(e2e_lease_value pd option\ dhcp6.client-id)")
e2e_expect_leases prefix-bindings "${prefix%/*} $pd_duid active"
e2e_expect_record prefix-binding "${prefix%/*}" relay=:: source_pool=pd iatype=iapd prefix_len=56 \
  "client_id=$pd_duid" "iaid=$(e2e_lease_iaid pd ia-pd)" \
  lease_duration=$E2E_VALID
# The first client's lease is still the only address lease.
e2e_expect_leases bindings "$addr $duid active"
e2e_dhclient_stop pd

e2e_capture_check
echo "PASS: dhclient leased $addr and $prefix, as dhcp6ctl lists them"
