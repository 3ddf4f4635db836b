#!/usr/bin/env python3
"""Checks the demo's ledgers client made by scripts/make-ledgers-demo: the
record sizes the transfer opens the files with, the data version it insists
on, and a named account for every ledger code it can post to.

Usage: make_ledgers_demo_test.py SOURCE_DIR
"""
import pathlib
import struct
import subprocess
import sys
import tempfile


def ledger_codes(table):
    codes = set()
    for line in table.read_text(encoding="utf-8").splitlines():
        fields = [field.strip() for field in line.split("|")]
        if not line.startswith("#") and len(fields) == 5:
            codes.add(int(fields[3]))
    return codes


def main():
    source = pathlib.Path(sys.argv[1])
    failures = []

    def check(condition, message):
        if not condition:
            failures.append(message)

    with tempfile.TemporaryDirectory() as scratch:
        root = pathlib.Path(scratch)
        subprocess.run([source / "scripts/make-ledgers-demo", root], check=True)
        master = (root / "CntMan/Ent-1/Mascnt.dat").read_bytes()
        ledgers = root / "GLed/Ent-1"
        accounts = (ledgers / "Ltc-1.Dat").read_bytes()
        counters = (ledgers / "Lct-1.Dat").read_bytes()

        check(len(master) == 435, f"Mascnt.dat holds {len(master)} bytes, not one record of 435")
        check(master[0:48].rstrip() == b"Demo Plumbing" and master[48:96].rstrip() == b"Pty Ltd",
              "the client master does not name Demo Plumbing Pty Ltd")
        check(struct.unpack_from("<h", master, 381)[0] == 1, "the chart kind is not 1")
        check(len(accounts) == 999 * 240, f"Ltc-1.Dat holds {len(accounts)} bytes, not 999 records")
        check(len(counters) == 57, f"Lct-1.Dat holds {len(counters)} bytes, not 57")
        check(struct.unpack_from("<i", counters, 49)[0] == 32, "the data version is not 32")
        check(counters[0:24] == bytes(24), "the counters do not start at 0")
        for empty in ("Led-1.Dat", "Ljn-1.Dat", "Lcm-1.Dat"):
            check((ledgers / empty).stat().st_size == 0, f"{empty} is not empty")

        # The templates' codes, a new entity's contra and debtors accounts,
        # GST and the suspense account for analysis accounts without a code.
        wanted = ledger_codes(source / "data/analysis-templates.txt") | {621, 622, 628, 638, 849, 999}
        for code in sorted(wanted):
            record = accounts[(code - 1) * 240:code * 240]
            check(record[48:96].strip() != b"", f"ledger account {code} has no name")
            check(record[144:240] == bytes(96), f"ledger account {code} does not start empty")

        # A second run keeps what the ledgers program has since written.
        (ledgers / "Led-1.Dat").write_bytes(bytes(60))
        subprocess.run([source / "scripts/make-ledgers-demo", root], check=True)
        check((ledgers / "Led-1.Dat").stat().st_size == 60, "a second run replaced Led-1.Dat")

    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
