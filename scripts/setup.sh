#!/usr/bin/env bash
# Installs from Debian everything the build, the server and the tests need.
# Idempotent: when every package is already present it returns at once.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang-format
  clang libclang-rt-14-dev  # the fuzz targets: clang with its libFuzzer and sanitizer runtimes
  libace-dev
  libsqlite3-dev sqlite3
  libpq-dev postgresql
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  nettle-dev nlohmann-json3-dev libsystemd-dev libcpp-httplib-dev
  libldns-dev knot knot-dnsutils
  python3-scapy tshark
  isc-dhcp-client dhcpcd-base kea-admin isc-dhcp-relay
  iproute2 systemd python3-prometheus-client
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
echo "setup: installing ${missing[*]}"
$SUDO apt-get update -qq
# tshark asks whether non-root users may capture; answer no without a prompt.
echo "wireshark-common wireshark-common/install-setuid boolean false" | $SUDO debconf-set-selections
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
