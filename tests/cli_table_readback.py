#!/usr/bin/python3
"""tarvo-cli --table: the parameter table's DXF read back by ezdxf (a reader independent of
ours). Its texts must come back as the JSON report's rows (Cyrillic from Windows-1251, signs
outside it from \\U+ escapes), its frame 110 mm wide with 8 mm rows, its header naming R12 and
ANSI_1251; the drawing written beside it stays byte for byte what it is without --table.

Usage: cli_table_readback.py TARVO_CLI OUT_DIR
"""
import json
import os
import subprocess
import sys

import ezdxf
from ezdxf.lldxf.encoding import decode_dxf_unicode

CASES = [
    ("pair", ["pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40",
              "--accuracy", "7-B ГОСТ 1643-81"]),
    ("helical_internal", ["pair", "--mesh", "internal", "--module", "2.5", "--z1", "24", "--z2",
                          "71", "--helix", "12.5", "--x1", "0.2", "--x2", "0.4", "--backlash",
                          "0.05", "--hand", "left", "--rack", "25"]),
    ("gost_hub", ["spline", "--standard", "gost", "--part", "hub", "--module", "2", "--teeth",
                  "20", "--shift", "0.3"]),
]


def fail(name, message):
    print(f"{name}: {message}")
    return 1


def check(cli, out_dir, name, args):
    drawing = os.path.join(out_dir, name + ".dxf")
    plain = os.path.join(out_dir, name + "-plain.dxf")
    table = os.path.join(out_dir, name + "-table.dxf")
    if subprocess.run([cli] + args + ["-o", plain], capture_output=True).returncode != 0:
        return fail(name, "not drawn")
    run = subprocess.run([cli] + args + ["-o", drawing, "--report=json", "--table", table],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return fail(name, "refused: " + run.stderr)
    with open(drawing, "rb") as a, open(plain, "rb") as b:
        if a.read() != b.read():
            return fail(name, "the drawing changed with --table")
    report = json.loads(run.stdout)
    doc = ezdxf.readfile(table)
    if doc.dxfversion != "AC1009" or doc.header.get("$DWGCODEPAGE") != "ANSI_1251":
        return fail(name, f"header {doc.dxfversion} {doc.header.get('$DWGCODEPAGE')}")
    raw = [e.dxf.text for e in doc.modelspace() if e.dxftype() == "TEXT"]
    # Every sign read from the file is one Windows-1251 holds; the rest came as \U+ escapes.
    for text in raw:
        try:
            text.encode("cp1251")
        except UnicodeEncodeError:
            return fail(name, f"{text!r} was not written in Windows-1251")
    texts = [decode_dxf_unicode(t) for t in raw]
    lines = [e for e in doc.modelspace() if e.dxftype() == "LINE"]
    expected = []
    for t in report["parameter_table"]:
        expected.append(t["wheel"])
        for row in t["rows"]:
            expected += [v for v in (row["name"], row["symbol"], row["value"]) if v]
    if texts != expected:
        return fail(name, f"texts {texts!r}\nexpected {expected!r}")
    horizontal = [e for e in lines if e.dxf.start[1] == e.dxf.end[1]]
    widths = {round(abs(e.dxf.end[0] - e.dxf.start[0]), 9) for e in horizontal}
    if widths != {110}:
        return fail(name, f"row lines {widths} mm wide")
    rows = sum(len(t["rows"]) for t in report["parameter_table"])
    heights = sorted({round(-e.dxf.start[1], 9) for e in horizontal})
    if heights != [8 * k for k in range(max(len(t["rows"]) for t in report["parameter_table"]) + 1)]:
        return fail(name, f"row lines at {heights}")
    if len(horizontal) != rows + len(report["parameter_table"]):
        return fail(name, f"{len(horizontal)} row lines for {rows} rows")
    return 0


def main():
    cli, out_dir = sys.argv[1], sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    failures = sum(check(cli, out_dir, name, args) for name, args in CASES)
    print(f"{len(CASES) - failures} of {len(CASES)} tables read back")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
