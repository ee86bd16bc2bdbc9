"""Helpers of the Python tests that run the real dhcp6d.

Each test runs in a network namespace of its own (root only; otherwise it
skips with ctest's skip code 77), so that port 547 on loopback is its own.
"""
import os
import shutil
import socket
import struct
import subprocess
import sys
import time

SKIP = 77
DEADLINE = 20  # seconds for each wait


def fail(text, log=None):
    print("FAIL: " + text, file=sys.stderr)
    if log and os.path.exists(log):
        with open(log, errors="replace") as f:
            print(f.read()[-4000:], file=sys.stderr)
    sys.exit(1)


def enter_private_netns():
    """Re-runs this script in a network namespace of its own with loopback
    up; returns only inside it. Exits with SKIP when not root."""
    if os.geteuid() != 0:
        print("SKIP: needs root for a network namespace")
        sys.exit(SKIP)
    if os.environ.get("NUV_IN_NETNS") != "1":
        env = dict(os.environ, NUV_IN_NETNS="1")
        sys.exit(subprocess.call(["unshare", "--net", sys.executable] + sys.argv, env=env))
    subprocess.check_call(["ip", "link", "set", "lo", "up"])


def information_request(xid):
    """Information-request with a Client Identifier (DUID-LL) and an ORO."""
    duid = struct.pack("!HH6s", 3, 1, bytes.fromhex("020000000001"))
    client_id = struct.pack("!HH", 1, len(duid)) + duid
    oro = struct.pack("!HHH", 6, 2, 23)
    elapsed = struct.pack("!HHH", 8, 2, 0)
    return bytes([11]) + xid + client_id + oro + elapsed


def exchange_information_request(log, xid=b"\x12\x34\x56"):
    """Sends an Information-request to [::1]:547 until a Reply comes (five
    tries of two seconds); fails the test without one."""
    client = socket.socket(socket.AF_INET6, socket.SOCK_DGRAM)
    client.settimeout(2)
    reply = None
    for _ in range(5):
        client.sendto(information_request(xid), ("::1", 547))
        try:
            reply = client.recv(4096)
            break
        except socket.timeout:
            continue
    client.close()
    if not reply or reply[0] != 7 or reply[1:4] != xid:
        fail(f"no Reply to the Information-request: {reply!r}", log)


def wait_for_mode(log, mode="servicing"):
    """Waits until the server answers query_mode with the mode."""
    client = socket.socket(socket.AF_INET6, socket.SOCK_DGRAM)
    client.settimeout(0.5)
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        client.sendto(b"query_mode", ("::1", 547))
        try:
            if client.recv(4096).decode().strip() == "mode=" + mode:
                client.close()
                return
        except (socket.timeout, ConnectionRefusedError):
            time.sleep(0.2)
    fail(f"the server did not reach mode {mode}", log)


def stop(server, log):
    """SIGTERM, then the exit status within the deadline."""
    server.terminate()
    try:
        code = server.wait(timeout=DEADLINE)
    except subprocess.TimeoutExpired:
        server.kill()
        server.wait()
        fail("the server did not stop", log)
    if code != 0:
        fail(f"the server exited with {code}", log)


def clean_up(server, tmp):
    """Kills a server still running and removes the test's folder."""
    if server:
        server.kill()
        server.wait()
    shutil.rmtree(tmp, ignore_errors=True)
