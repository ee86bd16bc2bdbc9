# Helpers for end-to-end tests: a server namespace and a client namespace
# joined by a veth pair. Source it, call e2e_setup, and the EXIT trap
# removes everything the test made (namespaces, processes, files).

E2E_ID="nuv$$"
E2E_SRV="${E2E_ID}s"
E2E_CLI="${E2E_ID}c"
E2E_DIR="$(mktemp -d /tmp/nuv_e2e.XXXXXX)"
E2E_PIDS=()

e2e_cleanup() {
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
  sleep 0.2
  for pid in "${E2E_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null; done
  ip netns pids "$E2E_SRV" 2>/dev/null | xargs -r kill -9 2>/dev/null
  ip netns pids "$E2E_CLI" 2>/dev/null | xargs -r kill -9 2>/dev/null
  ip netns del "$E2E_SRV" 2>/dev/null
  ip netns del "$E2E_CLI" 2>/dev/null
  rm -rf "$E2E_DIR"
}

e2e_fail() {
  echo "FAIL: $*" >&2
  for f in "$E2E_DIR"/*.log; do [ -f "$f" ] && { echo "== $f"; tail -50 "$f"; }; done >&2
  exit 1
}

# Needs root (CI runs as root); skip with ctest's skip code otherwise.
e2e_require_root() {
  if [ "$(id -u)" -ne 0 ]; then echo "SKIP: needs root for network namespaces"; exit 77; fi
}

e2e_setup() {
  trap e2e_cleanup EXIT
  ip netns add "$E2E_SRV" && ip netns add "$E2E_CLI" || e2e_fail "cannot create namespaces"
  ip link add "${E2E_ID}vs" type veth peer name "${E2E_ID}vc" || e2e_fail "cannot create veth pair"
  ip link set "${E2E_ID}vs" netns "$E2E_SRV"
  ip link set "${E2E_ID}vc" netns "$E2E_CLI"
  for ns in "$E2E_SRV" "$E2E_CLI"; do
    ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.accept_dad=0 net.ipv6.conf.default.accept_dad=0
    ip netns exec "$ns" ip link set lo up
  done
  ip netns exec "$E2E_SRV" sysctl -qw "net.ipv6.conf.${E2E_ID}vs.accept_dad=0"
  ip netns exec "$E2E_CLI" sysctl -qw "net.ipv6.conf.${E2E_ID}vc.accept_dad=0"
  ip netns exec "$E2E_SRV" ip link set "${E2E_ID}vs" up
  ip netns exec "$E2E_CLI" ip link set "${E2E_ID}vc" up
  ip netns exec "$E2E_SRV" ip -6 addr add fd00:e2e::1/64 dev "${E2E_ID}vs" nodad
  ip netns exec "$E2E_CLI" ip -6 addr add fd00:e2e::2/64 dev "${E2E_ID}vc" nodad
  # Link-local addresses come up without DAD; wait until both have one.
  for _ in $(seq 50); do
    if ip netns exec "$E2E_CLI" ip -6 addr show dev "${E2E_ID}vc" | grep -q 'fe80.*scope link' &&
       ip netns exec "$E2E_SRV" ip -6 addr show dev "${E2E_ID}vs" | grep -q 'fe80.*scope link'; then
      return 0
    fi
    sleep 0.1
  done
  e2e_fail "link-local addresses did not come up"
}

# e2e_start_server DHCP6D PLUGIN_DIR [extra config lines...]
e2e_start_server() {
  local bin=$1 plugins=$2
  shift 2
  {
    echo "system.plugins = $plugins"
    echo "system.storage.path = $E2E_DIR/var"
    echo "system.log.levels = all"
    for line in "$@"; do echo "$line"; done
  } > "$E2E_DIR/dhcp6d.conf"
  ip netns exec "$E2E_SRV" "$bin" -c "$E2E_DIR/dhcp6d.conf" > "$E2E_DIR/server.log" 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 100); do
    grep -q "Switching the server to mode 'servicing'." "$E2E_DIR/server.log" && return 0
    sleep 0.1
  done
  e2e_fail "server did not start"
}

# e2e_query NAME: a status query answered by the server in its namespace.
e2e_query() {
  ip netns exec "$E2E_SRV" /usr/bin/python3 - "$1" <<'PY'
import socket, sys
s = socket.socket(socket.AF_INET6, socket.SOCK_DGRAM)
s.settimeout(3)
s.sendto(sys.argv[1].encode(), ("::1", 547))
print(s.recvfrom(65535)[0].decode())
PY
}

# e2e_global_dns DHCP6CTL: the operator gives every client two DNS servers
# and a search list, with the running server's configuration.
E2E_DNS="2001:db8::53 2001:db8::54"
E2E_SEARCH="example.com example.org"
e2e_global_dns() {
  "$1" -c "$E2E_DIR/dhcp6d.conf" change policy "Global Optional" \
    option="dns-servers = 2001:db8::53, 2001:db8::54" \
    option="domain-search = example.com, example.org" > "$E2E_DIR/ctl.log" 2>&1 ||
    e2e_fail "dhcp6ctl failed"
}

# e2e_capture_start: records the DHCPv6 traffic of the client's link.
e2e_capture_start() {
  command -v tshark >/dev/null || e2e_fail "tshark is not installed"
  ip netns exec "$E2E_CLI" timeout 30 tshark -q -i "${E2E_ID}vc" \
    -f 'udp port 546 or udp port 547' -w "$E2E_DIR/exchange.pcap" > "$E2E_DIR/tshark.log" 2>&1 &
  E2E_CAPTURE=$!
  E2E_PIDS+=($E2E_CAPTURE)
  for _ in $(seq 50); do
    grep -q "Capturing on" "$E2E_DIR/tshark.log" && return 0
    sleep 0.1
  done
  e2e_fail "tshark did not start capturing"
}

# e2e_capture_check: the capture holds a Reply and decodes without a
# malformed packet or an error-level expert message.
e2e_capture_check() {
  sleep 0.5
  kill "$E2E_CAPTURE" 2>/dev/null
  wait "$E2E_CAPTURE" 2>/dev/null
  local replies bad
  replies=$(tshark -r "$E2E_DIR/exchange.pcap" -Y 'dhcpv6.msgtype == 7' 2>/dev/null | wc -l)
  [ "$replies" -ge 1 ] || e2e_fail "no Reply in the capture"
  bad=$(tshark -r "$E2E_DIR/exchange.pcap" -Y '_ws.malformed || _ws.expert.severity >= error' \
    2>/dev/null | wc -l)
  [ "$bad" -eq 0 ] || e2e_fail "tshark found malformed or erroneous packets:
$(tshark -r "$E2E_DIR/exchange.pcap" -V 2>/dev/null | tail -60)"
}
