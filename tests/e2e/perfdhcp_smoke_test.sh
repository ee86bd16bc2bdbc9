#!/usr/bin/env bash
# Smoke test under load, not a benchmark: perfdhcp (Kea) runs the
# four-message exchange (Solicit, Advertise, Request, Reply) for 10 s at
# 1,000 exchanges per second from up to 100,000 simulated clients on the
# server's own link. At most 1 % of the exchanges' messages go unanswered,
# most answered Requests leave a binding, and the server logs no error.
#   perfdhcp_smoke_test.sh DHCP6D DHCP6CTL PLUGIN_DIR
set -u
. "$(dirname "$0")/netns_lib.sh"
e2e_require perfdhcp
e2e_setup
# Per-packet debug lines would make the log the load. The server runs
# ahead of other work on the machine: what is tested is whether it keeps
# up, not whether a busy machine schedules it before its receive buffer
# (the kernel's default size) fills.
E2E_LOG_LEVELS="error,warning,info"
E2E_NICE=-10
e2e_serve "$@" "ipv6.dhcpv6.engine.thread_count = 2"
# A /112 range: room for every client perfdhcp can make in 10 s.
e2e_address_pool lan fd00:e2e::1:0 fd00:e2e::1:ffff ::

# perfdhcp waits 2 s (-W) for answers still on their way when the 10 s are
# over; it exits with 3 when anything was dropped: the limit is judged here.
ip netns exec "$E2E_CLI" timeout 60 perfdhcp -6 -l "${E2E_ID}vc" -r 1000 -R 100000 -p 10 -W 2000000 \
  > "$E2E_DIR/perfdhcp.log" 2>&1
rc=$?
[ $rc -eq 0 ] || [ $rc -eq 3 ] || e2e_fail "perfdhcp failed ($rc)"
read -r sent drops replies < <(awk '
  /^sent packets:/ { sent += $3 }
  /^drops:/ { drops += $2 }
  /^\*\*\*Statistics for: REQUEST-REPLY/ { rr = 1 }
  rr && /^received packets:/ { replies = $3; rr = 0 }
  END { print sent + 0, drops + 0, replies + 0 }' "$E2E_DIR/perfdhcp.log")
[ "$sent" -ge 10000 ] || e2e_fail "perfdhcp sent only $sent messages"
# Where the messages went: the kernel drops what arrives while the
# server's receive buffer is full.
[ $((drops * 100)) -le "$sent" ] || e2e_fail "$drops of $sent messages went unanswered; the server
$(e2e_query query_stats | grep -E '^packets\.(input|output|v6_solicit|v6_request)=')
$(ip netns exec "$E2E_SRV" nstat -az Udp6InDatagrams Udp6RcvbufErrors | grep Udp6)"
# A client that perfdhcp picks again gets its lease again: bindings can be
# fewer than the Replies, but not many.
bindings=$(e2e_ctl list bindings | grep -c ' active ')
[ $((bindings * 10)) -ge $((replies * 9)) ] || e2e_fail "$replies Replies but only $bindings bindings"
errors=$(e2e_server_errors)
[ -z "$errors" ] || e2e_fail "the server logged errors: $(head -5 <<<"$errors")"
echo "PASS: perfdhcp: $drops of $sent messages unanswered, $replies Replies, $bindings bindings"
