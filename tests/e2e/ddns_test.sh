#!/usr/bin/env bash
# Dynamic DNS end to end. Knot DNS runs in the server's namespace with
# example.net and the reverse zone of the pool's /64, both open to updates
# signed with a TSIG key the server is given. dhclient sends a Client FQDN
# option (host1.example.net, S bit set) and leases an address: kdig then
# finds its AAAA and its PTR record; after dhclient -r both are gone. A
# lease that expires without a Release loses both once the reclaimer has
# removed it, and the released lease's records are not deleted twice. With
# a wrong key (the configuration re-read on SIGHUP) the next client is
# still served while the server logs and counts BADKEY; with the DNS
# server stopped, the next client is still served and the unanswered
# updates are logged and counted.
#   ddns_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require dhclient knotd kdig
e2e_setup

KEY=ddns-key
SECRET=c2VjcmV0c2VjcmV0c2VjcmV0c2VjcmV0
ZONE=example.net
REVERSE=1.0.0.0.8.b.d.0.1.0.0.2.ip6.arpa  # 2001:db8:1::/64, the pool "lan"
KNOT="$E2E_DIR/knot"

mkdir -p "$KNOT/db"
cat > "$KNOT/knot.conf" <<CONF
server:
  listen: ::1@53
  rundir: $KNOT
log:
  - target: stderr
    any: info
database:
  storage: $KNOT/db
key:
  - id: $KEY
    algorithm: hmac-sha256
    secret: $SECRET
acl:
  - id: dhcp-updates
    key: $KEY
    action: update
template:
  - id: default
    storage: $KNOT
    file: "%s.zone"
    zonefile-sync: -1
    journal-content: changes
zone:
  - domain: $ZONE
    acl: dhcp-updates
  - domain: $REVERSE
    acl: dhcp-updates
CONF
for zone in $ZONE $REVERSE; do
  printf '$ORIGIN %s.\n$TTL 300\n@ SOA ns.%s. admin.%s. 1 3600 600 86400 300\n@ NS ns.%s.\n' \
    "$zone" "$ZONE" "$ZONE" "$ZONE" > "$KNOT/$zone.zone"
done
echo "ns.$ZONE. AAAA ::1" >> "$KNOT/$ZONE.zone"
ip netns exec "$E2E_SRV" knotd -c "$KNOT/knot.conf" > "$E2E_DIR/knot.log" 2>&1 &
KNOT_PID=$!
E2E_PIDS+=($KNOT_PID)

# dns NAME TYPE: the records the DNS server in the server's namespace has.
dns() {
  ip netns exec "$E2E_SRV" kdig @::1 +short +time=1 +retry=0 "$1" "$2" 2>/dev/null
}
# wait_dns NAME TYPE WANT [TRIES]: within TRIES / 5 s (default 10 s) the
# DNS server answers WANT ("" none).
wait_dns() {
  for _ in $(seq "${4:-50}"); do
    [ "$(dns "$1" "$2")" = "$3" ] && return 0
    sleep 0.2
  done
  e2e_fail "$2 of $1 is '$(dns "$1" "$2")', not '$3'"
}
# reverse_of ADDRESS: the owner name of the address's PTR record.
reverse_of() {
  python3 -c 'import ipaddress, sys; print(ipaddress.ip_address(sys.argv[1]).reverse_pointer)' "$1"
}
wait_dns $ZONE SOA "ns.$ZONE. admin.$ZONE. 1 3600 600 86400 300"

CONFIG_KEY="ipv6.dhcpv6.ddns.tsig.name"
e2e_serve "$@" "$CONFIG_KEY = $KEY" "ipv6.dhcpv6.ddns.tsig.secret = $SECRET" \
  "ipv6.dhcpv6.ddns.timeout = 300" "ipv6.dhcpv6.ddns.retries = 1" \
  "ipv6.dhcpv6.reclaimer.interval = 1" "ipv6.dhcpv6.reclaimer.lead_time = 1"
SERVER_PID=${E2E_PIDS[-1]}
e2e_own_link_pools
e2e_ctl change policy "Global Optional" option="ddns-update-server = [::1]:53" \
  option="ddns-forward-zone = $ZONE" option="ddns-reverse-zone = $REVERSE" \
  option="ddns-ttl = 300" option="ddns-update-mode = 1" >> "$E2E_DIR/ctl.log"

# fqdn_client NAME HOST: dhclient NAME sends the Client FQDN option for
# HOST and asks the server to update the forward name (S bit).
fqdn_client() {
  printf 'send fqdn.fqdn "%s";\nsend fqdn.server-update on;\n' "$2" > "$E2E_DIR/$1.conf"
  e2e_dhclient "$1" -cf "$E2E_DIR/$1.conf"
  grep -q "PRC: Bound to lease" "$E2E_DIR/$1.log" || e2e_fail "dhclient $1 got no lease"
}
# count NAME: the DNS update plug-in's count NAME.
count() {
  e2e_query query_ddns | sed -n "s/^$1=//p"
}
# wait_count NAME AT_LEAST: within 10 s the count reaches AT_LEAST.
wait_count() {
  for _ in $(seq 50); do
    [ "$(count "$1")" -ge "$2" ] 2>/dev/null && return 0
    sleep 0.2
  done
  e2e_fail "the count $1 is '$(count "$1")', not $2 or more"
}
# reconfigure SED: edits the server's configuration file and has it re-read.
reconfigure() {
  local before
  before=$(grep -c "Configuration reloaded." "$E2E_DIR/server.log")
  sed -i "$1" "$E2E_DIR/dhcp6d.conf"
  kill -HUP "$SERVER_PID"
  e2e_wait_lines "$E2E_DIR/server.log" "Configuration reloaded." "$before" 10
}

# The address and its name appear in the DNS, and go with the release.
fqdn_client h1 host1.$ZONE
addr=$(e2e_lease_value h1 iaaddr) || exit 1
ptr=$(reverse_of "$addr")
wait_dns host1.$ZONE AAAA "$addr"
wait_dns "$ptr" PTR "host1.$ZONE."
wait_count updates.forward 1
wait_count updates.reverse 1
e2e_dhclient_pid h1 > /dev/null || exit 1
ip netns exec "$E2E_CLI" timeout 20 dhclient -6 -r -v -cf "$E2E_DIR/h1.conf" -lf "$E2E_DIR/h1.leases" \
  -pf "$E2E_DIR/h1.pid" -sf "$E2E_DIR/h1.hook" "${E2E_ID}vc" >> "$E2E_DIR/h1.log" 2>&1 ||
  e2e_fail "dhclient -r failed"
wait_dns host1.$ZONE AAAA ""
wait_dns "$ptr" PTR ""
wait_count deletes.forward 1
wait_count deletes.reverse 1

# A four-second lease whose client leaves without a Release: once it has
# expired, the reclaimer removes it and deletes its records.
e2e_ctl change pool lan valid_lt=4 pref_lt=2 >> "$E2E_DIR/ctl.log"
fqdn_client h4 host4.$ZONE
addr4=$(e2e_lease_value h4 iaaddr) || exit 1
ptr4=$(reverse_of "$addr4")
wait_dns host4.$ZONE AAAA "$addr4"
wait_dns "$ptr4" PTR "host4.$ZONE."
e2e_dhclient_stop h4
wait_dns host4.$ZONE AAAA "" 150
wait_dns "$ptr4" PTR "" 150
# h1's released lease was reclaimed too, its records not deleted again.
wait_count deletes.forward 2
wait_count deletes.reverse 2
[ "$(count deletes.forward) $(count deletes.reverse)" = "2 2" ] ||
  e2e_fail "deleted $(count deletes.forward) AAAA and $(count deletes.reverse) PTR updates, not 2 and 2"
e2e_ctl change pool lan valid_lt=$E2E_VALID pref_lt=$E2E_PREFERRED >> "$E2E_DIR/ctl.log"

# A key the DNS server does not know: refused, logged and counted; the
# client is served all the same.
reconfigure "s/^$CONFIG_KEY = .*/$CONFIG_KEY = not-$KEY/"
fqdn_client h2 host2.$ZONE
e2e_wait_lines "$E2E_DIR/server.log" \
  "DNS update failed: adding the AAAA records of 'host2.$ZONE'.*NOTAUTH (BADKEY)" 0 10
wait_count failures.badkey 1
[ -z "$(dns host2.$ZONE AAAA)" ] || e2e_fail "host2 got into the DNS with a wrong key"
grep -q "$SECRET" "$E2E_DIR/server.log" && e2e_fail "the TSIG secret is in the server's log"
e2e_dhclient_stop h2

# The DNS server stopped: the client is served, the updates fail after
# their retry, logged and counted.
reconfigure "s/^$CONFIG_KEY = .*/$CONFIG_KEY = $KEY/"
kill "$KNOT_PID"
wait "$KNOT_PID" 2>/dev/null
fqdn_client h3 host3.$ZONE
e2e_wait_lines "$E2E_DIR/server.log" \
  "DNS update failed: adding the AAAA records of 'host3.$ZONE'.*(attempt 2): no answer" 0 10
wait_count failures.timeout 1
e2e_dhclient_stop h3

others=$(e2e_server_errors | grep -v "DNS update failed")
[ -z "$others" ] || e2e_fail "errors in the server's log:
$others"
echo "PASS: $addr as host1.$ZONE in the DNS and out again, $addr4 as host4.$ZONE out on expiry; a wrong key and a stopped DNS server logged and counted, leases served"
