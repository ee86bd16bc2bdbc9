#!/usr/bin/env python3
"""Checks the leases clients were granted against the leases the server holds.

    lease_check.py [--at EPOCH] [--no-refusals] MESSAGES BINDINGS PREFIX_BINDINGS

MESSAGES holds captured client messages and Replies, one a line: the
capture time and the UDP payload in hex (tshark -T fields -e
frame.time_epoch -e udp.payload); BINDINGS and PREFIX_BINDINGS what
`dhcp6ctl list bindings` and `list prefix-bindings` printed at EPOCH (by
default now). It fails on the first of these faults:
- an address or prefix granted to a client while another client's grant
  of it had not yet run out;
- a lease granted in a Reply and not run out at EPOCH that is not held,
  active, by its client (nor at all: held twice);
- a Reply to a message naming a server (Server Identifier) that comes
  from another server;
- with --no-refusals, a Reply telling a client that an IA is not on its
  link or that no addresses are available.
Prints a summary.
"""
import ipaddress
import sys

CLIENT_ID, SERVER_ID, IA_NA, IA_TA, IA_ADDR, STATUS, IA_PD, IA_PREFIX = 1, 2, 3, 4, 5, 13, 25, 26
REPLY = 7
REFUSALS = {2: "NoAddrsAvail", 4: "NotOnLink", 6: "NoPrefixAvail"}
# Clocks and processing: a lease may be held a little past its Reply's
# lifetime and be removed a little before.
SLACK = 3


def options(data):
    at = 0
    while at + 4 <= len(data):
        code = int.from_bytes(data[at:at + 2], "big")
        length = int.from_bytes(data[at + 2:at + 4], "big")
        yield code, data[at + 4:at + 4 + length]
        at += 4 + length


def hexid(value):
    return "-".join("%02X" % b for b in value)


class Message:
    def __init__(self, when, payload):
        self.when = when
        self.type = payload[0]
        self.trid = payload[1:4]
        self.client = self.server = None
        self.leases = []  # (kind, address, valid lifetime)
        self.refusals = []
        for code, value in options(payload[4:]):
            if code == CLIENT_ID:
                self.client = hexid(value)
            elif code == SERVER_ID:
                self.server = hexid(value)
            elif code in (IA_NA, IA_TA, IA_PD):
                for sub, data in options(value[4:] if code == IA_TA else value[12:]):
                    if sub == IA_ADDR:
                        self.leases.append(("address", ipaddress.ip_address(data[:16]),
                                            int.from_bytes(data[20:24], "big")))
                    elif sub == IA_PREFIX:
                        self.leases.append(("prefix", ipaddress.ip_address(data[9:25]),
                                            int.from_bytes(data[4:8], "big")))
                    elif sub == STATUS and int.from_bytes(data[:2], "big") in REFUSALS:
                        self.refusals.append(REFUSALS[int.from_bytes(data[:2], "big")])


def held(path, kind):
    """address -> (duid, state) of dhcp6ctl's list; fails on an address listed twice."""
    out = {}
    with open(path) as f:
        for line in f:
            fields = line.split()
            if len(fields) < 3:
                continue
            address = ipaddress.ip_address(fields[0])
            if address in out:
                sys.exit("FAIL: %s %s is held twice" % (kind, address))
            out[address] = (fields[1], fields[2])
    return out


def main(args):
    at, refusals_fail = None, False
    while args and args[0].startswith("--"):
        flag = args.pop(0)
        if flag == "--at":
            at = float(args.pop(0))
        elif flag == "--no-refusals":
            refusals_fail = True
    if len(args) != 3:
        sys.exit(__doc__)
    import time
    at = at if at is not None else time.time()
    held_by = {"address": held(args[1], "address"), "prefix": held(args[2], "prefix")}

    messages = []
    with open(args[0]) as f:
        for line in f:
            fields = line.split()
            if len(fields) == 2:
                messages.append(Message(float(fields[0]), bytes.fromhex(fields[1].replace(":", ""))))
    messages.sort(key=lambda m: m.when)

    named = {}  # (client, transaction-id) -> the server a message named
    grants = {}  # (kind, address) -> (client, end of the grant)
    replies = refused = 0
    for m in messages:
        if m.type != REPLY:
            if m.server is not None:
                named[(m.client, m.trid)] = m.server
            continue
        replies += 1
        wanted = named.get((m.client, m.trid))
        if wanted is not None and wanted != m.server:
            sys.exit("FAIL: a message to server %s was answered by %s" % (wanted, m.server))
        if m.refusals:
            refused += 1
            if refusals_fail:
                sys.exit("FAIL: client %s was told %s" % (m.client, ", ".join(m.refusals)))
        for kind, address, valid in m.leases:
            previous = grants.get((kind, address))
            if previous and previous[0] != m.client and previous[1] > m.when + SLACK:
                sys.exit("FAIL: %s %s was granted to %s while %s held it" %
                         (kind, address, m.client, previous[0]))
            if valid > 0 or (previous and previous[0] == m.client):
                grants[(kind, address)] = (m.client, m.when + valid)

    if replies == 0:
        sys.exit("FAIL: no Reply captured")
    checked = {"address": 0, "prefix": 0}
    for (kind, address), (client, end) in grants.items():
        if end < at + SLACK:
            continue  # run out (or given back) by now: it may be gone
        checked[kind] += 1
        holder = held_by[kind].get(address)
        if holder is None:
            sys.exit("FAIL: %s %s granted to %s is not held" % (kind, address, client))
        if holder != (client, "active"):
            sys.exit("FAIL: %s %s granted to %s is held by %s, %s" %
                     (kind, address, client, holder[0], holder[1]))
    print("%d Replies (%d with a refusal) granted %d addresses and %d prefixes still held by "
          "their clients" % (replies, refused, checked["address"], checked["prefix"]))


if __name__ == "__main__":
    main(sys.argv[1:])
