# The servers of bench/load/run.sh, started afresh for every run (an empty
# lease store, the same pools and options): ours and Kea's DHCPv6 server.
# server_use NAME THREADS picks one; server_restart, server_stop and
# server_pid act on it.

SERVER=ours
SERVER_THREADS=1
SERVER_PID=""
# Addresses for 4 billion clients, /64 prefixes for as many; the server's
# end of the link holds an address in each network.
POOL_START=fd00:e2e::100:0
POOL_STOP=fd00:e2e::ffff:ffff
PD_START=2001:db8:1::
PD_STOP=2001:db8:ffff:ffff::

server_use() {
  SERVER=$1
  SERVER_THREADS=$2
}

server_pid() {
  echo "$SERVER_PID"
}

server_stop() {
  [ -n "$SERVER_PID" ] || return 0
  kill "$SERVER_PID" 2> /dev/null
  for _ in $(seq 100); do
    kill -0 "$SERVER_PID" 2> /dev/null || break
    sleep 0.1
  done
  kill -9 "$SERVER_PID" 2> /dev/null
  wait "$SERVER_PID" 2> /dev/null
  SERVER_PID=""
}

server_restart() {
  server_stop
  "${SERVER}_start"
}

# pg_fresh NAME: an empty PostgreSQL database of that name.
pg_fresh() {
  psql "$NUV_TEST_PG dbname=postgres" -qc "DROP DATABASE IF EXISTS $1" -c "CREATE DATABASE $1" \
    > /dev/null || e2e_fail "cannot create database $1"
}

# pg_item KEY: one item (host, port) of the connection string.
pg_item() {
  local item
  for item in $NUV_TEST_PG; do
    [ "${item%%=*}" = "$1" ] && echo "${item#*=}"
  done
}

# ours_serve [config lines...]: our server with the benchmark's settings;
# it logs errors and warnings only, like Kea below (a line per lease would
# be the load), so it is ready once its control socket is there.
ours_serve() {
  {
    echo "system.plugins = $build/plugins"
    echo "system.storage.path = $E2E_DIR/var"
    echo "system.log.levels = error,warning"
    for line in "$@"; do echo "$line"; done
  } > "$E2E_DIR/dhcp6d.conf"
  E2E_CTL=$build/tools/dhcp6ctl
  ip netns exec "$E2E_SRV" "$build/host/dhcp6d" -c "$E2E_DIR/dhcp6d.conf" \
    >> "$E2E_DIR/server.log" 2>&1 &
  SERVER_PID=$!
  E2E_PIDS+=("$SERVER_PID")
  for _ in $(seq 200); do
    [ -S "$E2E_DIR/var/dhcp6d.ctl" ] && return 0
    kill -0 "$SERVER_PID" 2> /dev/null || break
    sleep 0.1
  done
  e2e_fail "dhcp6d did not start"
}

OURS_FILLED=0
ours_start() {
  local lines=("ipv6.dhcpv6.engine.thread_count = $SERVER_THREADS")
  # A filled database is kept from run to run; filling takes long.
  if [ "$fill" -gt 0 ] && [ "$OURS_FILLED" = 1 ]; then
    [ "$db" = pgsql ] && lines+=("system.db.hostname = $(pg_item host):$(pg_item port)"
      "system.db.name = nuv_bench" "system.db.user = postgres")
    ours_serve "${lines[@]}"
    return
  fi
  rm -rf "$E2E_DIR/var"
  if [ "$db" = pgsql ]; then
    pg_fresh nuv_bench
    lines+=("system.db.hostname = $(pg_item host):$(pg_item port)" "system.db.name = nuv_bench"
      "system.db.user = postgres")
  fi
  ours_serve "${lines[@]}"
  ip netns exec "$E2E_SRV" ip -6 addr replace 2001:db8:100::1/64 dev "${E2E_ID}vs" nodad
  e2e_address_pool lan "$POOL_START" "$POOL_STOP" ::
  e2e_prefix_pool pd 2001:db8:: 32 64 "$PD_START" "$PD_STOP" ::
  e2e_global_dns
  if [ "$fill" -gt 0 ]; then
    fill_bindings "$fill"
    OURS_FILLED=1
  fi
}

kea_start() {
  local store mt=false
  [ "$SERVER_THREADS" -gt 1 ] && mt=true
  rm -f "$E2E_DIR"/kea-leases6.csv*
  if [ "$db" = pgsql ]; then
    pg_fresh kea_bench
    kea-admin db-init pgsql -u postgres -n kea_bench -h "$(pg_item host)" -P "$(pg_item port)" \
      > "$E2E_DIR/kea-admin.log" 2>&1 || e2e_fail "kea-admin db-init failed"
    store="\"type\": \"postgresql\", \"name\": \"kea_bench\", \"user\": \"postgres\",
      \"host\": \"$(pg_item host)\", \"port\": $(pg_item port)"
  else
    # Written at once, as Kea's memfile does by default; no compaction.
    store="\"type\": \"memfile\", \"persist\": true, \"lfc-interval\": 0,
      \"name\": \"$E2E_DIR/kea-leases6.csv\""
  fi
  cat > "$E2E_DIR/kea.json" << JSON
{ "Dhcp6": {
  "interfaces-config": { "interfaces": [ "${E2E_ID}vs" ] },
  "lease-database": { $store },
  "server-id": { "type": "LL", "persist": false },
  "multi-threading": { "enable-multi-threading": $mt, "thread-pool-size": $SERVER_THREADS,
                       "packet-queue-size": 64 },
  "preferred-lifetime": 3600, "valid-lifetime": 7200,
  "renew-timer": 1800, "rebind-timer": 2880,
  "option-data": [
    { "name": "dns-servers", "data": "2001:db8::53, 2001:db8::54" },
    { "name": "domain-search", "data": "example.com, example.org" } ],
  "subnet6": [ { "id": 1, "subnet": "fd00:e2e::/64", "interface": "${E2E_ID}vs",
    "pools": [ { "pool": "$POOL_START - $POOL_STOP" } ],
    "pd-pools": [ { "prefix": "2001:db8::", "prefix-len": 32, "delegated-len": 64 } ] } ],
  "loggers": [ { "name": "kea-dhcp6", "severity": "WARN",
                 "output_options": [ { "output": "$E2E_DIR/kea.log" } ] } ]
} }
JSON
  KEA_PIDFILE_DIR=$E2E_DIR KEA_LOCKFILE_DIR=none ip netns exec "$E2E_SRV" \
    kea-dhcp6 -c "$E2E_DIR/kea.json" >> "$E2E_DIR/kea.out" 2>&1 &
  SERVER_PID=$!
  E2E_PIDS+=("$SERVER_PID")
  for _ in $(seq 100); do
    ip netns exec "$E2E_SRV" ss -Huln 'sport = :547' | grep -q . && return 0
    kill -0 "$SERVER_PID" 2> /dev/null || break
    sleep 0.1
  done
  e2e_fail "kea-dhcp6 did not start: $(tail -3 "$E2E_DIR/kea.out")"
}

# fill_bindings N: N address leases of other clients stored straight into
# our database (an INSERT ... SELECT; through the server it would take an
# hour): addresses fd00:e2e::1:0:0 and up, below the pool's range, so the
# runs' own clients get addresses as on an empty database; they expire in
# ten days, out of the reclaimer's way.
fill_bindings() {
  local now sql
  now=$(date +%s)
  local cols="ROW_VERSION, OID, MOD_TIME, IPADDR, RELAY, BOOT_PROTO, LEASE_COMMIT, LEASE_EXPIRE,
    LEASE_DURATION, FIXED, TID_TYPE, TID, POOL_OID, ACCOUNT_OID, POLICIES, OPTIONS, BINDINGS_COUNT,
    TID_COUNT, CLIENT_ID, IATYPE, IAID, PREFIX_LEN, ADDR_KEY"
  local zero=0000:0000:0000:0000:0000:0000:0000:0000
  echo "  filling the database with $1 bindings"
  if [ "$db" = pgsql ]; then
    sql="INSERT INTO dhcp_abindings6 ($cols) SELECT 1, 1000000000 + i, $now,
      'fd00:0e2e:0000:0000:0000:0001:' || lpad(to_hex(i >> 16), 4, '0') || ':' ||
        lpad(to_hex(i & 65535), 4, '0'), '$zero', 'dhcpv6', $now, $now + 864000, 7200, 0, 0, '',
      1, -1, '', '', 0, 0, '00-03-00-01-00-00-' || upper(lpad(to_hex(i), 8, '0')), 1, 1, NULL,
      'fd000e2e0000000000000001' || lpad(to_hex(i), 8, '0')
      FROM generate_series(1, $1) AS i"
    psql "$NUV_TEST_PG dbname=nuv_bench" -qc "$sql" -c "ANALYZE" > /dev/null ||
      e2e_fail "cannot fill the database"
  else
    sql="WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $1)
      INSERT INTO dhcp_abindings6 ($cols) SELECT 1, 1000000000 + i, $now,
      'fd00:0e2e:0000:0000:0000:0001:' || printf('%04x:%04x', i >> 16, i & 65535), '$zero',
      'dhcpv6', $now, $now + 864000, 7200, 0, 0, '', 1, -1, '', '', 0, 0,
      '00-03-00-01-00-00-' || printf('%08X', i), 1, 1, NULL,
      'fd000e2e0000000000000001' || printf('%08x', i) FROM n;"
    sqlite3 "$E2E_DIR/var/dhcp6d.db" "PRAGMA busy_timeout = 60000; $sql" > /dev/null ||
      e2e_fail "cannot fill the database"
  fi
}
