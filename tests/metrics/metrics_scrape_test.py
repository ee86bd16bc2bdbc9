#!/usr/bin/env python3
"""Scrapes the running server's /metrics and reads it with a real parser.

Starts dhcp6d (real plug-ins, SQLite) with "stats.metrics.listen_on" set,
adds a pool, leases nothing, answers one Information-request, then parses
the page with prometheus_client's text parser and checks the families:
the counters (dhcp6d_<metric>_total), the worker mode, the pool gauges,
the database errors and the uptime. The metrics endpoint is off without
the key: a second run checks that nothing listens.

Usage: metrics_scrape_test.py DHCP6D DHCP6CTL PLUGIN_DIR
"""
import json
import os
import socket
import subprocess
import sys
import tempfile
import urllib.request

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "python"))
from dhcp6test import (  # noqa: E402
    DEADLINE, clean_up, enter_private_netns, exchange_information_request, fail, stop, wait_for_mode)

from prometheus_client.parser import text_string_to_metric_families  # noqa: E402

PORT = 9547


def scrape():
    url = f"http://[::1]:{PORT}/metrics"
    with urllib.request.urlopen(url, timeout=DEADLINE) as response:
        return response.headers.get("Content-Type"), response.read().decode()


def samples(families, name):
    for family in families:
        for sample in family.samples:
            if sample.name == name:
                yield sample


def start(tmp, dhcp6d, plugins, extra):
    config = os.path.join(tmp, "dhcp6d.conf")
    with open(config, "w") as f:
        f.write(f"system.plugins = {plugins}\nsystem.storage.path = {tmp}/var\n"
                f"system.log.levels = error,warning,info\n{extra}")
    log = os.path.join(tmp, "dhcp6d.log")
    with open(log, "a") as log_file:
        server = subprocess.Popen([dhcp6d, "-c", config], stdout=log_file,
                                  stderr=subprocess.STDOUT)
    return server, config, log


def main():
    dhcp6d, dhcp6ctl, plugins = sys.argv[1:4]
    enter_private_netns()
    tmp = tempfile.mkdtemp(prefix="dhcp6d_metrics.")
    server = None
    try:
        server, config, log = start(tmp, dhcp6d, plugins, f"stats.metrics.listen_on = {PORT}\n")
        wait_for_mode(log)
        added = subprocess.run(
            [dhcp6ctl, "-c", config, "add", "pool", "name=lan", "valid_lt=3600",
             "rangestart=2001:db8:1::10", "rangestop=2001:db8:1::ff", "prefix_len=64",
             "relay=::"], capture_output=True, text=True, timeout=DEADLINE)
        if added.returncode != 0:
            fail("dhcp6ctl add pool: " + added.stderr, log)
        exchange_information_request(log)

        content_type, text = scrape()
        if not content_type.startswith("text/plain; version=0.0.4"):
            fail(f"content type {content_type}")
        try:
            families = list(text_string_to_metric_families(text))
        except Exception as e:  # the parser's own error says what is wrong
            fail(f"the page does not parse: {e}\n{text}")
        types = {f.name: f.type for f in families}

        for name, kind in (("dhcp6d_packets_v6_info_req", "counter"),
                           ("dhcp6d_packets_input", "counter"),
                           ("dhcp6d_database_errors", "counter"),
                           ("dhcp6d_worker_mode", "gauge"),
                           ("dhcp6d_uptime_seconds", "gauge"),
                           ("dhcp6d_pool_capacity", "gauge"),
                           ("dhcp6d_pool_leased", "gauge"),
                           ("dhcp6d_pool_offered", "gauge"),
                           ("dhcp6d_pool_free", "gauge")):
            if types.get(name) != kind:
                fail(f"family {name} is {types.get(name)}, not {kind}\n{text}")
        info = list(samples(families, "dhcp6d_packets_v6_info_req_total"))
        if len(info) != 1 or info[0].value < 1:
            fail(f"Information-requests counted: {info}\n{text}")
        modes = {s.labels["mode"]: s.value for s in samples(families, "dhcp6d_worker_mode")}
        if modes.get("servicing") != 1 or sum(modes.values()) != 1:
            fail(f"worker mode: {modes}")
        pool = {s.name: s.value for f in families for s in f.samples
                if s.labels.get("pool") == "lan" and s.labels.get("kind") == "address"}
        if pool != {"dhcp6d_pool_capacity": 240, "dhcp6d_pool_leased": 0,
                    "dhcp6d_pool_offered": 0, "dhcp6d_pool_free": 240}:
            fail(f"pool gauges: {pool}\n{text}")
        # Every counter the statistics sum is on the page.
        stats = subprocess.run([dhcp6ctl, "-c", config, "stats", "--json"],
                               capture_output=True, text=True, timeout=DEADLINE)
        for metric in json.loads(stats.stdout):
            name = "dhcp6d_" + metric.replace(".", "_") + "_total"
            if not list(samples(families, name)):
                fail(f"counter {metric} is not on the page as {name}")
        stop(server, log)
        server = None

        # Off by default: nothing listens without the key.
        server, config, log = start(tmp, dhcp6d, plugins, "")
        wait_for_mode(log)
        probe = socket.socket(socket.AF_INET6, socket.SOCK_STREAM)
        if probe.connect_ex(("::1", PORT)) == 0:
            fail("the metrics endpoint listens without stats.metrics.listen_on", log)
        probe.close()
        stop(server, log)
        server = None
        print("PASS")
        return 0
    finally:
        clean_up(server, tmp)


if __name__ == "__main__":
    sys.exit(main())
