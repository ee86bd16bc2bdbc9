# Helpers for end-to-end tests: a server namespace and a client namespace
# joined by a veth pair (or, with e2e_setup_relayed, a relay namespace
# between them). Source it, call e2e_setup, and the EXIT trap removes
# everything the test made (namespaces, processes, files), however it ends.

E2E_ID="nuv$$"
E2E_SRV="${E2E_ID}s"
E2E_CLI="${E2E_ID}c"
E2E_RLY="${E2E_ID}r"
E2E_DIR="$(mktemp -d /tmp/nuv_e2e.XXXXXX)"
E2E_PIDS=()
E2E_NAMESPACES=()
E2E_LINKS=()
E2E_CAPTURES=()
E2E_MOUNTS=()
# The admin tool, set by e2e_serve.
E2E_CTL=""
# Log levels and scheduling priority (nice) of the server started by e2e_serve.
E2E_LOG_LEVELS="all"
E2E_NICE=0

e2e_cleanup() {
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  sleep 0.2
  for pid in "${E2E_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null; done
  for ns in "${E2E_NAMESPACES[@]}"; do
    ip netns pids "$ns" 2>/dev/null | xargs -r kill -9 2>/dev/null
    ip netns del "$ns" 2>/dev/null
  done
  # A veth end still outside the namespaces (a failed move).
  for link in "${E2E_LINKS[@]}"; do ip link del "$link" 2>/dev/null; done
  for mount in "${E2E_MOUNTS[@]}"; do umount -l "$mount" 2>/dev/null; done
  rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

e2e_fail() {
  echo "FAIL: $*" >&2
  for f in "$E2E_DIR"/*.log; do [ -f "$f" ] && { echo "== $f"; tail -50 "$f"; }; done >&2
  exit 1
}

# e2e_require TOOL...: the test needs root (CI runs as root) and skips
# with ctest's skip code otherwise; it fails unless every tool is installed.
e2e_require() {
  if [ "$(id -u)" -ne 0 ]; then echo "SKIP: needs root for network namespaces"; exit 77; fi
  for tool in "$@"; do
    command -v "$tool" >/dev/null || e2e_fail "$tool is not installed"
  done
}

# e2e_netns NS...: namespaces with loopback up and no duplicate address
# detection, removed again by the EXIT trap.
e2e_netns() {
  for ns in "$@"; do
    ip netns add "$ns" || e2e_fail "cannot create namespace $ns"
    E2E_NAMESPACES+=("$ns")
    ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.accept_dad=0 net.ipv6.conf.default.accept_dad=0
    ip netns exec "$ns" ip link set lo up
  done
}

# e2e_veth NS_A IF_A ADDR_A NS_B IF_B ADDR_B: a veth pair from IF_A in NS_A
# to IF_B in NS_B, both up; an address ("-" for none) is added without DAD.
# Returns once both ends have their link-local address.
e2e_veth() {
  ip link add "$2" type veth peer name "$5" || e2e_fail "cannot create veth pair $2-$5"
  E2E_LINKS+=("$2" "$5")
  ip link set "$2" netns "$1"
  ip link set "$5" netns "$4"
  local ns ifname addr
  for end in "$1 $2 $3" "$4 $5 $6"; do
    read -r ns ifname addr <<<"$end"
    ip netns exec "$ns" sysctl -qw "net.ipv6.conf.${ifname}.accept_dad=0"
    ip netns exec "$ns" ip link set "$ifname" up
    [ "$addr" = - ] || e2e_address "$ns" "$ifname" "$addr"
  done
  for _ in $(seq 50); do
    if ip netns exec "$1" ip -6 addr show dev "$2" | grep -q 'fe80.*scope link' &&
       ip netns exec "$4" ip -6 addr show dev "$5" | grep -q 'fe80.*scope link'; then
      return 0
    fi
    sleep 0.1
  done
  e2e_fail "link-local addresses did not come up on $2-$5"
}

# e2e_address NS IF ADDR/LEN: one more address on an interface.
e2e_address() {
  ip netns exec "$1" ip -6 addr add "$3" dev "$2" nodad || e2e_fail "cannot add $3 to $2"
}

# The server's link: the server on ${E2E_ID}vs, the client on ${E2E_ID}vc.
e2e_setup() {
  e2e_netns "$E2E_SRV" "$E2E_CLI"
  e2e_veth "$E2E_SRV" "${E2E_ID}vs" fd00:e2e::1/64 "$E2E_CLI" "${E2E_ID}vc" fd00:e2e::2/64
}

# e2e_setup_relayed LINK_ADDR/LEN: the client's link is another one,
# behind a relay namespace: the relay's lower interface ${E2E_ID}vl holds
# LINK_ADDR (the link-address of its Relay-forward messages) on the
# client's link, its upper interface ${E2E_ID}vu holds fd00:e2e::2 on the
# server's link.
e2e_setup_relayed() {
  e2e_netns "$E2E_SRV" "$E2E_RLY" "$E2E_CLI"
  e2e_veth "$E2E_SRV" "${E2E_ID}vs" fd00:e2e::1/64 "$E2E_RLY" "${E2E_ID}vu" fd00:e2e::2/64
  e2e_veth "$E2E_RLY" "${E2E_ID}vl" "$1" "$E2E_CLI" "${E2E_ID}vc" -
}

# e2e_serve DHCP6D DHCP6CTL PLUGIN_DIR [extra config lines...]: the server
# started in its namespace (the tests' three arguments), DHCP6CTL the tool
# of e2e_ctl. With E2E_SERVE_AS set (say 2), another server: in namespace
# ${E2E_SRV}2 with dhcp6d2.conf, storage var2 and log server2.log.
E2E_SERVE_AS=""
e2e_serve() {
  local bin=$1 plugins=$3 n=$E2E_SERVE_AS
  E2E_CTL=$2
  shift 3
  {
    echo "system.plugins = $plugins"
    echo "system.storage.path = $E2E_DIR/var$n"
    echo "system.log.levels = $E2E_LOG_LEVELS"
    for line in "$@"; do echo "$line"; done
  } > "$E2E_DIR/dhcp6d$n.conf"
  ip netns exec "$E2E_SRV$n" nice -n "$E2E_NICE" "$bin" -c "$E2E_DIR/dhcp6d$n.conf" \
    > "$E2E_DIR/server$n.log" 2>&1 &
  E2E_PIDS+=($!)
  # The control socket opens just after the switch to servicing; until
  # then dhcp6ctl's notices (a mode change) would be lost.
  for _ in $(seq 100); do
    grep -qs "Switching the server to mode 'servicing'." "$E2E_DIR/server$n.log" &&
      [ -S "$E2E_DIR/var$n/dhcp6d.ctl" ] && return 0
    sleep 0.1
  done
  e2e_fail "server $n did not start"
}

# e2e_database: the configuration lines of the test's database in
# E2E_DB_LINES: none for the SQLite file in the storage path, or, when
# NUV_TEST_PG names a server (the test runs through scripts/with_pg.sh), a
# new PostgreSQL database on it, reached through its Unix socket.
E2E_DB_LINES=()
e2e_database() {
  [ -n "${NUV_TEST_PG:-}" ] || return 0
  local item host="" port="" user=postgres name="nuv_e2e_$$"
  for item in $NUV_TEST_PG; do
    case $item in
      host=*) host=${item#host=} ;;
      port=*) port=${item#port=} ;;
      user=*) user=${item#user=} ;;
    esac
  done
  psql "$NUV_TEST_PG dbname=postgres" -qc "CREATE DATABASE $name" > /dev/null ||
    e2e_fail "cannot create database $name"
  E2E_DB_NAME=$name
  E2E_DB_LINES=("system.db.hostname = $host:$port" "system.db.name = $name"
                "system.db.user = $user")
}

# e2e_psql SQL: the result of a query on the database of e2e_database,
# unaligned, one row a line.
e2e_psql() {
  psql "$NUV_TEST_PG dbname=$E2E_DB_NAME" -Atc "$1" 2>> "$E2E_DIR/psql.log"
}

# e2e_pg_ctl stop|start: stops (fast: open connections are ended) or
# starts again the PostgreSQL server of e2e_database.
e2e_pg_ctl() {
  local run=()
  [ "$(id -u)" -eq 0 ] && run=(runuser -u postgres --)
  "${run[@]}" "$NUV_TEST_PG_BIN/pg_ctl" -D "$NUV_TEST_PG_DATA" -l "$NUV_TEST_PG_DATA/../server.log" \
    -m fast -w -t 60 "$1" > /dev/null || e2e_fail "pg_ctl $1 failed"
}

# e2e_tmpfs DIR SIZE: a file system of SIZE (e.g. 16m) of its own at DIR,
# unmounted by the EXIT trap.
e2e_tmpfs() {
  mkdir -p "$1"
  mount -t tmpfs -o "size=$2,mode=0750" tmpfs "$1" || e2e_fail "cannot mount a tmpfs at $1"
  E2E_MOUNTS+=("$1")
}

# e2e_server_errors: the error-level lines of the server's log.
e2e_server_errors() {
  grep -E '^[^ ]+ ([a-z]+ )?error:' "$E2E_DIR/server.log"
}

# e2e_query NAME [NS]: a status query answered by the server in its
# namespace (by default the first server's).
e2e_query() {
  ip netns exec "${2:-$E2E_SRV}" /usr/bin/python3 - "$1" <<'PY'
import socket, sys
s = socket.socket(socket.AF_INET6, socket.SOCK_DGRAM)
s.settimeout(3)
s.sendto(sys.argv[1].encode(), ("::1", 547))
print(s.recvfrom(65535)[0].decode())
PY
}

# e2e_ctl ARGS...: dhcp6ctl on the running server's configuration (at
# most 20 s); its output goes to stdout, failures end the test.
e2e_ctl() {
  timeout 20 "$E2E_CTL" -c "$E2E_DIR/dhcp6d.conf" "$@" 2>> "$E2E_DIR/ctl.log" ||
    e2e_fail "dhcp6ctl $* failed"
}

# e2e_global_dns: the operator gives every client two DNS servers and a
# search list, with the running server's configuration.
E2E_DNS="2001:db8::53 2001:db8::54"
E2E_SEARCH="example.com example.org"
e2e_global_dns() {
  e2e_ctl change policy "Global Optional" \
    option="dns-servers = 2001:db8::53, 2001:db8::54" \
    option="domain-search = example.com, example.org" >> "$E2E_DIR/ctl.log"
}

# Lifetimes of the pools the tests make, and the renewal (T1) and rebinding
# (T2) times the server derives from them: 1/2 and 4/5 of the preferred.
E2E_PREFERRED=3600
E2E_VALID=7200
E2E_T1=1800
E2E_T2=2880

# e2e_address_pool NAME RANGESTART RANGESTOP RELAY: an address pool of a
# /64; RELAY is "::" for the server's own links, else the relay's
# link-address.
e2e_address_pool() {
  e2e_ctl add pool name="$1" valid_lt=$E2E_VALID pref_lt=$E2E_PREFERRED prefix_len=64 \
    rangestart="$2" rangestop="$3" relay="$4" domains=2 >> "$E2E_DIR/ctl.log"
}

# e2e_prefix_pool NAME PREFIX PREFIX_LEN SUB_PREFIX_LEN RANGESTART RANGESTOP RELAY:
# a pool delegating SUB_PREFIX_LEN prefixes out of PREFIX/PREFIX_LEN.
e2e_prefix_pool() {
  e2e_ctl add prefix-pool name="$1" valid_lt=$E2E_VALID pref_lt=$E2E_PREFERRED prefix="$2" \
    prefix_len="$3" sub_prefix_len="$4" rangestart="$5" rangestop="$6" relay="$7" domains=2 \
    >> "$E2E_DIR/ctl.log"
}

# The pools of the server's own link: addresses out of 2001:db8:1::/64,
# /56 prefixes out of 2001:db8:100::/40. A directly connected client gets
# only pools whose network holds an address of the receiving interface, so
# the server's end of the link holds one in each.
E2E_LAN_START=2001:db8:1::100
E2E_LAN_STOP=2001:db8:1::1ff
E2E_PD_START=2001:db8:101::
E2E_PD_STOP=2001:db8:1ff:ff00::
e2e_own_link_pools() {
  e2e_address "$E2E_SRV" "${E2E_ID}vs" 2001:db8:1::1/64
  e2e_address "$E2E_SRV" "${E2E_ID}vs" 2001:db8:100::1/64
  e2e_address_pool lan "$E2E_LAN_START" "$E2E_LAN_STOP" ::
  e2e_prefix_pool pd 2001:db8:100:: 40 56 "$E2E_PD_START" "$E2E_PD_STOP" ::
}

# e2e_expect_record KIND KEY FIELD=VALUE...: the record dhcp6ctl shows
# for KEY has these values.
e2e_expect_record() {
  local kind=$1 key=$2 record
  shift 2
  record=$(e2e_ctl show "$kind" "$key")
  for want in "$@"; do
    grep -qxF "${want%%=*} = ${want#*=}" <<<"$record" ||
      e2e_fail "$kind $key does not have ${want%%=*} = ${want#*=}:
$record"
  done
}

# e2e_expect_leases KIND LINE...: dhcp6ctl list KIND (bindings or
# prefix-bindings) shows exactly these leases, each "ADDRESS DUID STATE"
# (the seconds left aside).
e2e_expect_leases() {
  local kind=$1 listed
  shift
  listed=$(e2e_ctl list "$kind" | awk '{ print $1, $2, $3 }')
  [ "$listed" = "$(printf '%s\n' "$@")" ] || e2e_fail "dhcp6ctl list $kind shows
$listed
instead of
$(printf '%s\n' "$@")"
}

# e2e_commit_time KIND KEY: the lease_commit of the binding dhcp6ctl shows
# for KEY (KIND binding or prefix-binding).
e2e_commit_time() {
  e2e_ctl show "$1" "$2" | sed -n 's/^lease_commit = //p'
}

# e2e_recommitted KIND KEY BEFORE WHAT: within 5 s the binding of KEY
# (KIND binding or prefix-binding) gets a lease_commit other than BEFORE,
# printed; WHAT (the message that should have made it) names the failure.
e2e_recommitted() {
  local commit
  for _ in $(seq 50); do
    commit=$(e2e_commit_time "$1" "$2")
    [ "$commit" != "$3" ] && { echo "$commit"; return 0; }
    sleep 0.1
  done
  e2e_fail "the $4 did not commit $1 $2 anew ($3)"
}

# e2e_capture_renewals FILTER: after e2e_capture_check, the client's
# capture holds a Renew, a Rebind and at least three Replies (to the
# Request, a Renew and a Rebind) that FILTER (the lease) matches.
e2e_capture_renewals() {
  local vc="${E2E_ID}vc"
  [ "$(e2e_capture_count "$vc" 'dhcpv6.msgtype == 5')" -ge 1 ] || e2e_fail "no Renew captured"
  [ "$(e2e_capture_count "$vc" 'dhcpv6.msgtype == 6')" -ge 1 ] || e2e_fail "no Rebind captured"
  [ "$(e2e_capture_count "$vc" "dhcpv6.msgtype == 7 && $1")" -ge 3 ] ||
    e2e_fail "fewer than three Replies match $1"
}

# e2e_wait_lines FILE PATTERN COUNT SECONDS: FILE has more than COUNT
# lines matching PATTERN within SECONDS.
e2e_wait_lines() {
  for _ in $(seq $(($4 * 10))); do
    [ "$(grep -cs "$2" "$1")" -gt "$3" ] && return 0
    sleep 0.1
  done
  e2e_fail "no more than $3 lines '$2' in $1 within $4 s"
}

# e2e_in_range ADDR START STOP: whether START <= ADDR <= STOP.
e2e_in_range() {
  python3 -c 'import ipaddress as i, sys; a, b, c = (i.ip_address(x) for x in sys.argv[1:])
sys.exit(0 if b <= a <= c else 1)' "$@"
}

# e2e_duid TEXT: a DUID as a client writes it (dhclient "0:1:a:...",
# dhcpcd "00010a...") in the form dhcp6ctl shows ("00-01-0A-...").
e2e_duid() {
  local hex
  if [[ $1 == *:* ]]; then
    hex=$(tr ':' '\n' <<<"$1" | awk '{ printf "%02s", $0 }' | tr ' ' 0)
  else
    hex=$1
  fi
  sed 's/../&-/g; s/-$//' <<<"$hex" | tr a-f A-F
}

# e2e_client_hook NAME: a client script (dhclient -sf, dhcpcd -c) that
# appends the reason and every new_* variable it is given to NAME.env.
e2e_client_hook() {
  cat > "$E2E_DIR/$1.hook" <<HOOK
#!/bin/sh
{ echo "reason=\$reason"; env | grep '^new_' | sort; } >> "$E2E_DIR/$1.env"
HOOK
  chmod +x "$E2E_DIR/$1.hook"
}

# e2e_dhclient NAME [OPTIONS...]: dhclient -6 tries once on the client's
# link (at most 20 s); its lease file is NAME.leases, its log NAME.log,
# what its script saw NAME.env. A client that got a lease stays running
# in the background until e2e_dhclient_stop NAME.
e2e_dhclient() {
  local name=$1
  shift
  e2e_client_hook "$name"
  ip netns exec "$E2E_CLI" timeout 20 dhclient -6 -1 -v "$@" -lf "$E2E_DIR/$name.leases" \
    -pf "$E2E_DIR/$name.pid" -sf "$E2E_DIR/$name.hook" "${E2E_ID}vc" > "$E2E_DIR/$name.log" 2>&1
}

# e2e_dhclient_watch NAME [OPTIONS...]: dhclient -6 stays in the
# foreground (so that everything it does goes on to NAME.log) in the
# background of the test until the EXIT trap; returns once it is bound
# (at most 20 s). Files as with e2e_dhclient.
e2e_dhclient_watch() {
  local name=$1
  shift
  e2e_client_hook "$name"
  ip netns exec "$E2E_CLI" dhclient -6 -d -v "$@" -lf "$E2E_DIR/$name.leases" \
    -pf "$E2E_DIR/$name.pid" -sf "$E2E_DIR/$name.hook" "${E2E_ID}vc" > "$E2E_DIR/$name.log" 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 200); do
    grep -qs "PRC: Bound to lease" "$E2E_DIR/$name.log" && return 0
    sleep 0.1
  done
  e2e_fail "dhclient $name got no lease within 20 s"
}

# e2e_lease_value NAME WORD: what follows WORD in dhclient NAME's lease
# file, without the trailing "{" or ";"; fails unless the file has exactly one.
e2e_lease_value() {
  local values
  values=$(sed -n "s/^ *$2 \\([^ ;]*\\).*/\\1/p" "$E2E_DIR/$1.leases" 2>/dev/null)
  [ "$(wc -l <<<"$values")" -eq 1 ] && [ -n "$values" ] ||
    e2e_fail "$1.leases does not hold one '$2': $(cat "$E2E_DIR/$1.leases" 2>/dev/null)"
  echo "$values"
}

# e2e_lease_iaid NAME IA: the IAID of the last IA of type IA (ia-na,
# ia-pd) in dhclient NAME's lease file, as a number. dhclient writes its
# four bytes as hex, or between quotes, unescaped, when all are printable.
e2e_lease_iaid() {
  local file="$E2E_DIR/$1.leases"
  python3 - "$file" "$2" <<'PY' || e2e_fail "$1.leases holds no '$2': $(cat "$file" 2>/dev/null)"
import re, sys
path, word = sys.argv[1:]
text = open(path, encoding="latin-1").read()
found = re.findall(r'^\s*%s (?:"(.{4})"|([0-9a-fA-F:]+)) \{' % re.escape(word), text, re.M)
if not found:
    sys.exit(1)
quoted, hexbytes = found[-1]
raw = quoted.encode("latin-1") if quoted else bytes(int(b, 16) for b in hexbytes.split(":"))
print(int.from_bytes(raw, "big"))
PY
}

# e2e_dhclient_pid NAME: the process id of dhclient NAME bound in the
# background. It writes its pid file once it has gone there, just after
# the process e2e_dhclient started has ended.
e2e_dhclient_pid() {
  local pid
  for _ in $(seq 50); do
    pid=$(cat "$E2E_DIR/$1.pid" 2>/dev/null) && [ -n "$pid" ] && { echo "$pid"; return 0; }
    sleep 0.1
  done
  e2e_fail "dhclient $1 wrote no pid file"
}

# e2e_dhclient_stop NAME: dhclient -x ends the client without releasing
# its lease; returns once the process is gone.
e2e_dhclient_stop() {
  local pid
  pid=$(e2e_dhclient_pid "$1") || exit 1
  ip netns exec "$E2E_CLI" timeout 10 dhclient -6 -x -lf "$E2E_DIR/$1.leases" \
    -pf "$E2E_DIR/$1.pid" -sf "$E2E_DIR/$1.hook" "${E2E_ID}vc" >> "$E2E_DIR/$1.log" 2>&1
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    sleep 0.1
  done
  e2e_fail "dhclient $1 did not stop"
}

# e2e_dhcpcd NAME [OPTIONS...]: dhcpcd on the client's link (at most
# E2E_DHCPCD_SECONDS, 20 s unless set), with NAME.hook as its script, its
# log in NAME.log. dhcpcd keeps its files in /var/lib/dhcpcd and /run: it
# runs in a mount namespace of its own with empty file systems there, so
# nothing is left behind.
E2E_DHCPCD_SECONDS=20
e2e_dhcpcd() {
  local name=$1
  shift
  e2e_client_hook "$name"
  E2E_DHCPCD_SECONDS=$E2E_DHCPCD_SECONDS ip netns exec "$E2E_CLI" unshare -m sh -c '
    mount -t tmpfs tmpfs /run && mkdir -p /run/dhcpcd &&
    mount -t tmpfs tmpfs /var/lib && mkdir -p /var/lib/dhcpcd &&
    exec timeout "$E2E_DHCPCD_SECONDS" dhcpcd "$@"' dhcpcd -c "$E2E_DIR/$name.hook" "$@" \
    "${E2E_ID}vc" > "$E2E_DIR/$name.log" 2>&1
}

# e2e_capture_start [NS IF]: records the DHCPv6 traffic of a link (by
# default the client's) until e2e_capture_check, for at most
# E2E_CAPTURE_SECONDS.
E2E_CAPTURE_SECONDS=60
e2e_capture_start() {
  local ns=${1:-$E2E_CLI} ifname=${2:-${E2E_ID}vc}
  e2e_require tshark
  ip netns exec "$ns" timeout "$E2E_CAPTURE_SECONDS" tshark -q -i "$ifname" \
    -f 'udp port 546 or udp port 547' -w "$E2E_DIR/$ifname.pcap" > "$E2E_DIR/tshark-$ifname.log" 2>&1 &
  E2E_PIDS+=($!)
  E2E_CAPTURES+=("$! $ifname")
  for _ in $(seq 50); do
    grep -qs "Capturing on" "$E2E_DIR/tshark-$ifname.log" && return 0
    sleep 0.1
  done
  e2e_fail "tshark did not start capturing on $ifname"
}

# e2e_capture_check: every capture holds a Reply (on a relay's upper link,
# inside a Relay-reply) and decodes without a malformed packet or an
# error-level expert message.
e2e_capture_check() {
  sleep 0.5
  local pid ifname replies bad
  for capture in "${E2E_CAPTURES[@]}"; do
    read -r pid ifname <<<"$capture"
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  for capture in "${E2E_CAPTURES[@]}"; do
    read -r pid ifname <<<"$capture"
    replies=$(e2e_capture_count "$ifname" 'dhcpv6.msgtype == 7')
    [ "$replies" -ge 1 ] || e2e_fail "no Reply in the capture of $ifname"
    bad='_ws.malformed || _ws.expert.severity >= error'
    [ "$(e2e_capture_count "$ifname" "$bad")" -eq 0 ] ||
      e2e_fail "tshark found malformed or erroneous packets on $ifname:
$(tshark -r "$E2E_DIR/$ifname.pcap" -Y "$bad" -V 2>/dev/null | tail -60)"
  done
}

# e2e_capture_count IF FILTER: the packets of IF's capture that FILTER matches.
e2e_capture_count() {
  tshark -r "$E2E_DIR/$1.pcap" -Y "$2" 2>/dev/null | wc -l
}

# e2e_load_pools: pools with room for every client of a load run on the
# server's own link: a /112 of addresses and 2^16 delegated /64s.
e2e_load_pools() {
  e2e_address_pool lan fd00:e2e::1:0 fd00:e2e::1:ffff ::
  e2e_address "$E2E_SRV" "${E2E_ID}vs" 2001:db8:100::1/64
  e2e_prefix_pool pd 2001:db8:: 32 64 2001:db8:1:: 2001:db8:1:ffff:: ::
}

# e2e_perfdhcp NAME SECONDS RATE [OPTIONS...]: perfdhcp (Kea) in the
# background on the client's link: four-message exchanges for an address
# and a prefix at RATE a second for SECONDS, its output in NAME.log; its
# process id in E2E_LOAD. E2E_LOAD_NS and E2E_LOAD_IF name another client
# namespace and interface. e2e_perfdhcp_wait PID waits for it.
E2E_LOAD_NS=""
E2E_LOAD_IF=""
e2e_perfdhcp() {
  local name=$1 seconds=$2 rate=$3
  shift 3
  ip netns exec "${E2E_LOAD_NS:-$E2E_CLI}" timeout $((seconds + 30)) perfdhcp -6 \
    -l "${E2E_LOAD_IF:-${E2E_ID}vc}" \
    -e address-and-prefix -r "$rate" -R 1000000 -p "$seconds" -W 2000000 "$@" \
    > "$E2E_DIR/$name.log" 2>&1 &
  E2E_LOAD=$!
  E2E_PIDS+=("$E2E_LOAD")
}
e2e_perfdhcp_wait() {
  wait "$1"
  local rc=$?
  # 3: some exchanges were not completed, which the tests judge themselves.
  [ $rc -eq 0 ] || [ $rc -eq 3 ] || e2e_fail "perfdhcp failed ($rc)"
}

# e2e_leases_held [--no-refusals] [IF...]: every address and prefix a
# Reply captured on the links (by default the client's) granted and that
# has not yet run out is leased to its client, none twice, and every Reply
# comes from the server its client named (tests/e2e/lease_check.py, which
# prints a summary); with --no-refusals no Reply says NotOnLink or
# NoAddrsAvail.
e2e_leases_held() {
  local ifname flags=()
  [ "${1:-}" = --no-refusals ] && { flags+=("$1"); shift; }
  for ifname in "${@:-${E2E_ID}vc}"; do
    tshark -r "$E2E_DIR/$ifname.pcap" -Y 'dhcpv6.msgtype in {3,5,7,8,9}' -T fields \
      -e frame.time_epoch -e udp.payload 2>/dev/null
  done > "$E2E_DIR/messages.txt"
  flags+=(--at "$(date +%s)")
  e2e_ctl list bindings > "$E2E_DIR/bindings.txt"
  e2e_ctl list prefix-bindings > "$E2E_DIR/prefix-bindings.txt"
  python3 "$(dirname "${BASH_SOURCE[0]}")/lease_check.py" "${flags[@]}" "$E2E_DIR/messages.txt" \
    "$E2E_DIR/bindings.txt" "$E2E_DIR/prefix-bindings.txt" || e2e_fail "a granted lease is not held"
}

# e2e_replies_sent [NS]: the Replies the running server has sent.
e2e_replies_sent() {
  e2e_query query_stats "$@" | sed -n 's/^packets\.v6_reply=//p'
}
