#!/usr/bin/env python3
"""Installs the build into a temporary prefix and runs the installed server.

"cmake --install BUILD --prefix TMP" must give a tree that runs from TMP:
the installed dhcp6d, started with the installed example configuration
(its storage path moved into TMP), tells systemd's notification socket
READY=1, answers an Information-request on loopback, answers the installed
dhcp6ctl ("pools", "stats"), and says STOPPING=1 when it is stopped.

Needs root for a network namespace of its own (port 547, no other server
in the way); skips (exit 77) otherwise. Usage: install_test.py BUILD_DIR
"""
import os
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "python"))
from dhcp6test import (  # noqa: E402
    DEADLINE, clean_up, enter_private_netns, exchange_information_request, fail, stop)


def wait_for_notification(sock, wanted, log):
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        sock.settimeout(max(0.1, end - time.monotonic()))
        try:
            data = sock.recv(4096).decode()
        except socket.timeout:
            break
        if wanted in data.split("\n"):
            return
    fail(f"the server did not notify {wanted}", log)


def main():
    build = os.path.abspath(sys.argv[1])
    enter_private_netns()

    tmp = tempfile.mkdtemp(prefix="dhcp6d_install.")
    server = None
    try:
        prefix = os.path.join(tmp, "prefix")
        out = subprocess.run(["cmake", "--install", build, "--prefix", prefix],
                             capture_output=True, text=True)
        if out.returncode != 0:
            fail("cmake --install failed:\n" + out.stdout + out.stderr)

        config = os.path.join(prefix, "etc/dhcp6d/dhcp6d.conf")
        unit = os.path.join(prefix, "lib/systemd/system/dhcp6d.service")
        for path in ("sbin/dhcp6d", "sbin/dhcp6ctl", "share/dhcp6d/options6.spec",
                     "share/dhcp6d/sqlite/sql_statements.spec", config, unit):
            if not os.path.exists(os.path.join(prefix, path)):
                fail("not installed: " + path)
        with open(config) as f:
            settings = dict(line.split("=", 1) for line in f
                            if "=" in line and not line.lstrip().startswith("#"))
        settings = {k.strip(): v.strip() for k, v in settings.items()}
        plugins = settings.get("system.plugins", "")
        if not plugins.startswith(prefix) or not os.path.exists(
                os.path.join(plugins, "dhcp6_server.so")):
            fail(f"system.plugins is '{plugins}', not the installed plug-ins")
        with open(unit) as f:
            if f"ExecStart={prefix}/sbin/dhcp6d -c {config}" not in f.read():
                fail("the unit does not start the installed server")

        # The installed configuration with its storage in the temporary tree.
        storage = os.path.join(tmp, "var")
        run_config = os.path.join(tmp, "dhcp6d.conf")
        with open(config) as f, open(run_config, "w") as out_file:
            for line in f:
                if line.startswith("system.storage.path"):
                    line = f"system.storage.path = {storage}\n"
                out_file.write(line)

        notify_path = os.path.join(tmp, "notify")
        notify = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
        notify.bind(notify_path)
        log = os.path.join(tmp, "dhcp6d.log")
        env = dict(os.environ, NOTIFY_SOCKET=notify_path)
        env.pop("LD_LIBRARY_PATH", None)  # the installed tree finds its own
        with open(log, "w") as log_file:
            server = subprocess.Popen([os.path.join(prefix, "sbin/dhcp6d"), "-c", run_config],
                                      stdout=log_file, stderr=subprocess.STDOUT, env=env)
        wait_for_notification(notify, "READY=1", log)

        exchange_information_request(log)

        ctl = [os.path.join(prefix, "sbin/dhcp6ctl"), "-c", run_config]
        pools = subprocess.run(ctl + ["pools", "--json"], capture_output=True, text=True,
                               timeout=DEADLINE)
        if pools.returncode != 0 or pools.stdout.strip() != "[]":
            fail("dhcp6ctl pools: " + pools.stdout + pools.stderr, log)
        stats = subprocess.run(ctl + ["stats"], capture_output=True, text=True, timeout=DEADLINE)
        if stats.returncode != 0 or "packets.v6_info_req" not in stats.stdout:
            fail("dhcp6ctl stats: " + stats.stdout + stats.stderr, log)

        stop(server, log)
        server = None
        wait_for_notification(notify, "STOPPING=1", log)
        print("PASS")
        return 0
    finally:
        clean_up(server, tmp)


if __name__ == "__main__":
    sys.exit(main())
