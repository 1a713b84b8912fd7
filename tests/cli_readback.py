"""Writes drawings with tarvo-cli and reads every one back with ezdxf, a DXF reader independent
of Tarvo's. A case named after a golden drawing must come out byte for byte that drawing (on a
mismatch OUT_DIR/<name>.out.dxf is left for a person to diff; tests/promote-golden copies it
over the pin), and every golden drawing must have its case. For each case: the outlines
(vertices, closure, layers, centre marks, CR LF lines);
the --report=json diameters and centre distance against what ezdxf finds in the file, and the
text report against the JSON one; the --table drawing (R12, Windows-1251 texts that come back
as the report's rows, a frame 110 mm wide with 8 mm rows). Asking for the report and the table
must leave the drawing byte for byte what it is without them.

Usage: cli_readback.py TARVO_CLI GOLDEN_DIR OUT_DIR WORK_DIR
"""
import filecmp
import json
import math
import os
import shlex
import shutil
import subprocess
import sys
from collections import namedtuple

import ezdxf
from ezdxf.lldxf.encoding import decode_dxf_unicode


# An outline of z teeth with n = fillet + involute points per flank has 2 n z + 1 points.
def pts(z, fillet=3, involute=6):
    return 2 * (fillet + involute) * z + 1


# counts: the outlines' point counts in file order (None: placed by a tolerance);
# warnings: the kinds the report must give exactly (None: not checked).
Case = namedtuple("Case", "name line counts warnings", defaults=(None, None))
PAIR = "pair --mesh external --module "
RING = "pair --mesh internal --module "
GOST = "spline --standard gost --part "
OST = "spline --standard ost --part "
CASES = [
    Case("external_m2_z20x40", PAIR + "2 --z1 20 --z2 40 --accuracy '7-B ГОСТ 1643-81'",
         [pts(20), pts(40)]),
    Case("external_m2_z20x40_x0.5_0.3", PAIR + "2 --z1 20 --z2 40 --x1 0.5 --x2 0,3",
         [pts(20), pts(40)]),
    Case("external_m3_z17x53_helix15_rack25",
         PAIR + "3 --z1 17 --z2 53 --helix 15 --x1 0.3 --x2 -0.1 --backlash 0.1 --rack 25 "
         "--involute-points 12 --fillet-points 6", [pts(17, 6, 12), pts(53, 6, 12)]),
    Case("internal_m2_z20x40", RING + "2 --z1 20 --z2 40", [pts(40), pts(20)]),
    Case("internal_m2_z20x60", RING + "2 --z1 20 --z2 60", [pts(60), pts(20)]),
    Case("internal_m2_z40x20_x0.5_0.2", RING + "2 --z1 40 --z2 20 --x1 0.5 --x2 0.2",
         [pts(40), pts(20)]),
    Case("spline_gost_shaft_m2_z20", GOST + "shaft --module 2 --teeth 20", [pts(20)]),
    Case("spline_gost_hub_m2_z20_shift0.3", GOST + "hub --module 2 --teeth 20 --shift 0.3",
         [pts(20)]),
    Case("spline_ost_shaft_m1_z18",
         OST + "shaft --module 1 --teeth 18 --involute-points 40 --fillet-points 20",
         [pts(18, 20, 40)]),
    Case("spline_ost_hub_m1_z30_6_33",
         OST + "hub --module 1 --teeth 30 --involute-points 6 --fillet-points 33",
         [pts(30, 33, 6)]),
    Case("ost_hub_odd", OST + "hub --module 1.25 --teeth 27", [pts(27)]),
    Case("finest_accuracy", PAIR + "1.5 --z1 31 --z2 77 --involute-points 100 --fillet-points 50",
         [pts(31, 50, 100), pts(77, 50, 100)]),
    Case("internal_helical_custom",
         RING + "2.5 --z1 24 --z2 71 --helix 12.5 --x1 0.2 --x2 0.4 --backlash 0.05 --hand left "
         "--rack-custom 20,1,1.25,0.25,", [pts(71), pts(24)]),
    Case("pointed", PAIR + "2 --z1 12 --z2 30 --x1 0.8 --involute-points 40 --fillet-points 20",
         [pts(12, 20, 40), pts(30, 20, 40)], warnings=["pointed-tooth"]),
    Case("external_tolerance", PAIR + "2 --z1 20 --z2 40 --tolerance 0.001"),
    Case("gost_hub_tolerance", GOST + "hub --module 2 --teeth 20 --shift 0.3 --tolerance 0.0002"),
]


def check_outlines(expect, path, msp, counts):
    polylines, lines = msp.query("POLYLINE"), msp.query("LINE")
    vertices = [len(list(p.vertices)) for p in polylines]
    expect(counts is None or vertices == counts, f"vertices {vertices}, expected {counts}")
    expect(len(lines) == 2 * len(polylines), f"{len(lines)} lines for {len(polylines)} outlines")
    for p in polylines:
        points = list(p.points())
        expect(p.dxf.layer == "LAYER1VIEW0", f"polyline on layer {p.dxf.layer}")
        expect(points[0] == points[-1], "outline not closed by its repeated first point")
        expect(all(math.isfinite(c) for pt in points for c in pt), "non-finite coordinate")
    for line in lines:
        length = (line.dxf.end - line.dxf.start).magnitude
        expect(line.dxf.layer == "LAYER0VIEW0" and abs(length - 2) < 1e-12,
               f"centre-mark stroke of length {length} on {line.dxf.layer}")
    with open(path, "rb") as f:
        data = f.read()
    crlf = data.count(b"\r\n")
    want = (50 if len(polylines) == 1 else 92) + 10 * sum(vertices)
    expect(crlf == want and data.count(b"\n") == crlf, f"{crlf} CR LF lines, expected {want}")


def check_report(expect, msp, report, text):
    outlines = [[(p[0], p[1]) for p in pl.points()] for pl in msp.query("POLYLINE")]
    centres = [((l.dxf.start.x + l.dxf.end.x) / 2, (l.dxf.start.y + l.dxf.end.y) / 2)
               for l in msp.query("LINE") if l.dxf.start.x == l.dxf.end.x]
    wheels = report["wheels"]
    # The file holds an internal pair's ring first; the report keeps the designer's order.
    order = list(range(len(wheels)))
    if report["kind"] == "internal-pair" and not wheels[0]["internal_teeth"]:
        order = [1, 0]
    for wheel, k in zip(wheels, order):
        reach = [math.dist(p, centres[k]) for p in outlines[k]]
        low, high = 2 * min(reach), 2 * max(reach)
        da, df = (low, high) if wheel["internal_teeth"] else (high, low)
        for key, value in (("da", da), ("df", df)):
            expect(abs(wheel[key] - value) < 1e-9,
                   f"{wheel['name']} {key} {wheel[key]}, ezdxf {value}")
        expect("%.4f" % wheel["da"] in text, f"text report lacks da {wheel['da']:.4f}")
    if report["pair"] is not None:
        drawn = math.dist(centres[0], centres[1])
        expect(abs(report["pair"]["aw"] - drawn) < 1e-9, f"aw {report['pair']['aw']} vs {drawn}")
    lines = text.splitlines()
    expect(lines[:1] == [report["file"]], "the text report does not start with the path")
    for warning in report["warnings"]:
        expect("! " + warning["text"] in lines, f"text report lacks the warning {warning['kind']}")


def check_table(expect, table, report):
    doc = ezdxf.readfile(table)
    header = (doc.dxfversion, doc.header.get("$DWGCODEPAGE"))
    expect(header == ("AC1009", "ANSI_1251"), f"table header {header}")
    raw = [e.dxf.text for e in doc.modelspace() if e.dxftype() == "TEXT"]
    # Every sign read from the file is one Windows-1251 holds; the rest came as \U+ escapes.
    expect(all(t == t.encode("cp1251", "replace").decode("cp1251") for t in raw),
           f"texts not all in Windows-1251: {raw!r}")
    tables, expected = report["parameter_table"], []
    for t in tables:
        expected.append(t["wheel"])
        for row in t["rows"]:
            expected += [v for v in (row["name"], row["symbol"], row["value"]) if v]
    texts = [decode_dxf_unicode(t) for t in raw]
    expect(texts == expected, f"table texts {texts!r}\nexpected {expected!r}")
    horizontal = [e for e in doc.modelspace()
                  if e.dxftype() == "LINE" and e.dxf.start[1] == e.dxf.end[1]]
    widths = {round(abs(e.dxf.end[0] - e.dxf.start[0]), 9) for e in horizontal}
    heights = sorted({round(-e.dxf.start[1], 9) for e in horizontal})
    most = max(len(t["rows"]) for t in tables)
    expect(widths == {110} and heights == [8 * k for k in range(most + 1)],
           f"table row lines {widths} mm wide at {heights}")
    rows = sum(len(t["rows"]) for t in tables)
    expect(len(horizontal) == rows + len(tables), f"{len(horizontal)} row lines for {rows} rows")


def check(case, cli, golden_dir, out_dir, work_dir):
    problems = []

    def expect(ok, message):
        if not ok:
            problems.append(message)

    plain, path, table = (os.path.join(work_dir, case.name + end)
                          for end in ("-plain.dxf", ".dxf", "-table.dxf"))
    args = [cli] + shlex.split(case.line)
    if subprocess.run(args + ["-o", plain], capture_output=True).returncode != 0:
        return ["tarvo-cli without --report failed"]
    run = subprocess.run(args + ["-o", path, "--report=json", "--table", table],
                         capture_output=True, text=True)
    if run.returncode != 0:
        return [f"tarvo-cli exited {run.returncode}: {run.stderr.strip()}"]
    report = json.loads(run.stdout)
    golden = os.path.join(golden_dir, case.name + ".dxf")
    if os.path.exists(golden) and not filecmp.cmp(plain, golden, shallow=False):
        shutil.copyfile(plain, os.path.join(out_dir, case.name + ".out.dxf"))
        expect(False, f"differs from the golden drawing; see {case.name}.out.dxf in {out_dir}")
    expect(report["file"] == path, f"report names {report['file']}")
    expect(filecmp.cmp(path, plain, shallow=False), "--report or --table changed the drawing")
    kinds = [w["kind"] for w in report["warnings"]]
    expect(case.warnings is None or kinds == case.warnings, f"warnings {kinds}")
    text = subprocess.run(args + ["-o", path, "--report"], capture_output=True, text=True).stdout
    msp = ezdxf.readfile(path).modelspace()
    check_outlines(expect, path, msp, case.counts)
    check_report(expect, msp, report, text)
    check_table(expect, table, report)
    return problems


def main():
    cli, golden_dir, out_dir, work_dir = sys.argv[1:5]
    os.makedirs(out_dir, exist_ok=True)
    os.makedirs(work_dir, exist_ok=True)
    unused = {f for f in os.listdir(golden_dir) if f.endswith(".dxf")} - {
        case.name + ".dxf" for case in CASES}
    failed = len(unused)
    for name in sorted(unused):
        print(f"{name}: a golden drawing no case draws")
    for case in CASES:
        problems = check(case, cli, golden_dir, out_dir, work_dir)
        for problem in problems:
            print(f"{case.name}: {problem}")
        failed += 1 if problems else 0
    print(f"{len(CASES) - failed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
