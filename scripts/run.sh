#!/usr/bin/env bash
# Installs what is missing, builds the server and starts it in the foreground
# with the example configuration (embedded SQLite database under var/).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
if [ ! -x build/host/dhcp6d ]; then
  echo "run: the host executable is not part of this build yet" >&2
  exit 1
fi
exec build/host/dhcp6d -c etc/dhcp6d.conf "$@"
