#!/usr/bin/env bash
# Runs a command against a throwaway PostgreSQL server: initdb into a new
# temporary directory, a free port on loopback, the socket in that
# directory; the server runs as a non-root user (postgres) when started as
# root. The command gets the connection string (without dbname, through
# the socket) in NUV_TEST_PG, the server's binaries and data directory in
# NUV_TEST_PG_BIN and NUV_TEST_PG_DATA; the server is stopped and its
# directory removed on exit.
#   scripts/with_pg.sh build/tests/oodb_persistence_tests --gtest_filter='PostgreSQL/*'
set -euo pipefail

bin=""
for d in /usr/lib/postgresql/*/bin; do
  if [ -x "$d/initdb" ]; then bin="$d"; fi
done
if [ -z "$bin" ]; then
  echo "with_pg: no PostgreSQL server binaries (install postgresql)" >&2
  exit 1
fi

dir=$(mktemp -d /tmp/nuv_pg.XXXXXX)
run=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres: "$dir"
  run=(runuser -u postgres --)
fi

cleanup() {
  "${run[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap cleanup EXIT

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"${run[@]}" "$bin/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --no-locale >"$dir/initdb.log" 2>&1 ||
  { cat "$dir/initdb.log" >&2; exit 1; }
# The settings go into the configuration file, so that a test may stop and
# start the server again with pg_ctl alone (NUV_TEST_PG_BIN, NUV_TEST_PG_DATA).
cat >> "$dir/data/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$dir'
fsync = off
full_page_writes = off
max_connections = 50
CONF
"${run[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 start >/dev/null ||
  { cat "$dir/server.log" >&2; exit 1; }

# The Unix socket, not TCP: tests that run in a network namespace of their
# own reach the server through the file system.
export NUV_TEST_PG="host=$dir port=$port user=postgres"
export NUV_TEST_PG_BIN="$bin" NUV_TEST_PG_DATA="$dir/data"
"$@"
