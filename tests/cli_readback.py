"""Writes drawings with tarvo-cli and reads every one back with ezdxf, an independent DXF
reader: the polylines, their vertices and the centre-mark lines must be what the data say,
and the golden drawings must come out byte for byte.

Usage: cli_readback.py TARVO_CLI GOLDEN_DIR WORK_DIR
"""
import filecmp
import math
import os
import subprocess
import sys

import ezdxf

# (name, arguments, outline point counts, golden file or None). An outline of z teeth with
# n = fillet + involute points per flank has 2 n z + 1 points.
def pts(z, fillet=3, involute=6):
    return 2 * (fillet + involute) * z + 1

CASES = [
    ("external_m2_z20x40", ["pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40"],
     [pts(20), pts(40)], "external_m2_z20x40.dxf"),
    ("external_shifted", ["pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40",
                          "--x1", "0.5", "--x2", "0,3"],
     [pts(20), pts(40)], "external_m2_z20x40_x0.5_0.3.dxf"),
    ("external_helical", ["pair", "--mesh", "external", "--module", "3", "--z1", "17", "--z2", "53",
                          "--helix", "15", "--x1", "0.3", "--x2", "-0.1", "--backlash", "0.1",
                          "--rack", "25", "--involute-points", "12", "--fillet-points", "6"],
     [pts(17, 6, 12), pts(53, 6, 12)], "external_m3_z17x53_helix15_rack25.dxf"),
    ("internal_m2_z20x40", ["pair", "--mesh", "internal", "--module", "2", "--z1", "20", "--z2", "40"],
     [pts(40), pts(20)], "internal_m2_z20x40.dxf"),
    ("internal_m2_z20x60", ["pair", "--mesh", "internal", "--module", "2", "--z1", "20", "--z2", "60"],
     [pts(60), pts(20)], "internal_m2_z20x60.dxf"),
    ("internal_reversed", ["pair", "--mesh", "internal", "--module", "2", "--z1", "40", "--z2", "20",
                           "--x1", "0.5", "--x2", "0.2"],
     [pts(40), pts(20)], "internal_m2_z40x20_x0.5_0.2.dxf"),
    ("gost_shaft", ["spline", "--standard", "gost", "--part", "shaft", "--module", "2", "--teeth", "20"],
     [pts(20)], "spline_gost_shaft_m2_z20.dxf"),
    ("gost_hub", ["spline", "--standard", "gost", "--part", "hub", "--module", "2", "--teeth", "20",
                  "--shift", "0.3"],
     [pts(20)], "spline_gost_hub_m2_z20_shift0.3.dxf"),
    ("ost_shaft", ["spline", "--standard", "ost", "--part", "shaft", "--module", "1", "--teeth", "18",
                   "--involute-points", "40", "--fillet-points", "20"],
     [pts(18, 20, 40)], "spline_ost_shaft_m1_z18.dxf"),
    ("ost_hub", ["spline", "--standard", "ost", "--part", "hub", "--module", "1", "--teeth", "30",
                 "--involute-points", "6", "--fillet-points", "33"],
     [pts(30, 33, 6)], "spline_ost_hub_m1_z30_6_33.dxf"),
    ("finest_accuracy", ["pair", "--mesh", "external", "--module", "1.5", "--z1", "31", "--z2", "77",
                         "--involute-points", "100", "--fillet-points", "50"],
     [pts(31, 50, 100), pts(77, 50, 100)], None),
    ("internal_helical_custom", ["pair", "--mesh", "internal", "--module", "2.5", "--z1", "24", "--z2", "71",
                                 "--helix", "12.5", "--x1", "0.2", "--x2", "0.4", "--backlash", "0.05",
                                 "--rack-custom", "20,1,1.25,0.25,"],
     [pts(71), pts(24)], None),
    ("ost_hub_odd", ["spline", "--standard", "ost", "--part", "hub", "--module", "1.25", "--teeth", "27"],
     [pts(27)], None),
]


def check(name, args, counts, golden, cli, golden_dir, work_dir):
    path = os.path.join(work_dir, name + ".dxf")
    run = subprocess.run([cli] + args + ["-o", path], capture_output=True, text=True)
    if run.returncode != 0:
        return [f"{name}: tarvo-cli exited {run.returncode}: {run.stderr.strip()}"]
    problems = []
    doc = ezdxf.readfile(path)
    msp = doc.modelspace()
    polylines = msp.query("POLYLINE")
    lines = msp.query("LINE")
    vertices = [len(list(p.vertices)) for p in polylines]
    if vertices != counts:
        problems.append(f"{name}: vertices per polyline {vertices}, expected {counts}")
    if len(lines) != 2 * len(counts):
        problems.append(f"{name}: {len(lines)} lines, expected {2 * len(counts)} (centre marks)")
    for p in polylines:
        if p.dxf.layer != "LAYER1VIEW0":
            problems.append(f"{name}: polyline on layer {p.dxf.layer}")
        points = list(p.points())
        if points[0] != points[-1]:
            problems.append(f"{name}: outline not closed by its repeated first point")
        if not all(math.isfinite(c) for pt in points for c in pt):
            problems.append(f"{name}: non-finite coordinate")
    for line in lines:
        if line.dxf.layer != "LAYER0VIEW0":
            problems.append(f"{name}: centre mark on layer {line.dxf.layer}")
        length = (line.dxf.end - line.dxf.start).magnitude
        if abs(length - 2) > 1e-12:
            problems.append(f"{name}: centre-mark stroke of length {length}")
    with open(path, "rb") as f:
        data = f.read()
    line_count = data.count(b"\r\n")
    expected_lines = (50 if len(counts) == 1 else 92) + 10 * sum(counts)
    if line_count != expected_lines or data.count(b"\n") != line_count:
        problems.append(f"{name}: {line_count} CR LF lines, expected {expected_lines}")
    if golden and not filecmp.cmp(path, os.path.join(golden_dir, golden), shallow=False):
        problems.append(f"{name}: differs from golden {golden}")
    return problems


def main():
    cli, golden_dir, work_dir = sys.argv[1:4]
    os.makedirs(work_dir, exist_ok=True)
    problems = []
    for case in CASES:
        problems += check(*case, cli, golden_dir, work_dir)
    for p in problems:
        print(p)
    print(f"{len(CASES) - len({p.split(':')[0] for p in problems})} passed, "
          f"{len({p.split(':')[0] for p in problems})} failed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
