#!/usr/bin/env bash
# A real client, dhcpcd, keeps its delegated prefix (IA_PD) past the
# renewal and rebinding times of a short lease: at T1 its Renew is
# answered; while the server is paused it gets no answer, so at T2 it
# rebinds and the server, serving again, answers the Rebind. Each answer
# keeps the prefix and commits the binding anew. The exchanges decode
# cleanly in tshark.
#   dhcpcd_renew_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require dhcpcd
e2e_setup
e2e_serve "$@"
# T1 10 s, T2 16 s.
E2E_PREFERRED=20
E2E_VALID=40
e2e_own_link_pools
e2e_capture_start

cat > "$E2E_DIR/dhcpcd.conf" <<CONF
duid
noipv6rs
ipv6only
interface ${E2E_ID}vc
  ia_pd 2 -
CONF
# In the background, until the EXIT trap.
E2E_DHCPCD_SECONDS=100 e2e_dhcpcd pd -f "$E2E_DIR/dhcpcd.conf" -6 -d -B &
E2E_PIDS+=($!)
env="$E2E_DIR/pd.env"
e2e_wait_lines "$env" "^reason=BOUND6$" 0 20
env_value() { sed -n "s/^$1=//p" "$env" | sort -u; }
prefix=$(env_value new_dhcp6_ia_pd1_prefix1)
duid=$(e2e_duid "$(env_value new_dhcp6_client_id)")
[ "$(wc -w <<<"$prefix")" -eq 1 ] || e2e_fail "dhcpcd was not given one prefix: $(cat "$env")"
e2e_expect_leases prefix-bindings "$prefix $duid active"
first=$(e2e_commit_time prefix-binding "$prefix")

# recommitted WHAT REASON BEFORE SECONDS: within SECONDS, dhcpcd's script
# is told REASON and the binding gets a lease_commit other than BEFORE
# (printed); the prefix stays the client's, the only one it was given.
recommitted() {
  local commit
  e2e_wait_lines "$env" "^reason=$2$" 0 "$4"
  commit=$(e2e_recommitted prefix-binding "$prefix" "$3" "$1") || exit 1
  [ "$(env_value new_dhcp6_ia_pd1_prefix1)" = "$prefix" ] || e2e_fail "dhcpcd was given another prefix"
  e2e_expect_leases prefix-bindings "$prefix $duid active"
  echo "$commit"
}

# Renewal at T1 (10 s after the Reply).
renewed=$(recommitted Renew RENEW6 "$first" 15) || exit 1

# Unanswered while the server is paused: the client rebinds at T2 (16 s
# after the renewal).
e2e_ctl mode paused > /dev/null
e2e_wait_lines "$E2E_DIR/pd.log" "REBIND6 (xid" 0 25
e2e_ctl mode servicing > /dev/null
rebound=$(recommitted Rebind REBIND6 "$renewed" 25) || exit 1

e2e_capture_check
e2e_capture_renewals "dhcpv6.iaprefix.pref_addr == $prefix"
echo "PASS: dhcpcd renewed and rebound $prefix/56; commits $first, $renewed, $rebound"
