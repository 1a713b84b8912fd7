"""tarvo-cli --report end to end: each drawing is written with the report asked for, read back
with ezdxf (a DXF reader independent of Tarvo's), and the report's drawn diameters and centre
distance are checked against what ezdxf finds in the file. A drawing written with --report
must be byte for byte the drawing written without it (and the golden drawing where there is
one). The text report must carry the same numbers as the JSON one.

Usage: cli_report_readback.py TARVO_CLI GOLDEN_DIR WORK_DIR
"""
import filecmp
import json
import math
import os
import subprocess
import sys

import ezdxf

# (name, arguments, golden file or None)
CASES = [
    ("external", ["pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40"],
     "external_m2_z20x40.dxf"),
    ("external_helical", ["pair", "--mesh", "external", "--module", "3", "--z1", "17", "--z2", "53",
                          "--helix", "15", "--x1", "0.3", "--x2", "-0.1", "--backlash", "0.1",
                          "--rack", "25", "--involute-points", "12", "--fillet-points", "6"],
     "external_m3_z17x53_helix15_rack25.dxf"),
    ("internal_reversed", ["pair", "--mesh", "internal", "--module", "2", "--z1", "40", "--z2", "20",
                           "--x1", "0.5", "--x2", "0.2"],
     "internal_m2_z40x20_x0.5_0.2.dxf"),
    ("gost_hub", ["spline", "--standard", "gost", "--part", "hub", "--module", "2", "--teeth", "20",
                  "--shift", "0.3"],
     "spline_gost_hub_m2_z20_shift0.3.dxf"),
    ("pointed", ["pair", "--mesh", "external", "--module", "2", "--z1", "12", "--z2", "30",
                 "--x1", "0.8", "--involute-points", "40", "--fillet-points", "20"], None),
    ("external_tolerance", ["pair", "--mesh", "external", "--module", "2", "--z1", "20", "--z2", "40",
                            "--tolerance", "0.001"], None),
    ("gost_hub_tolerance", ["spline", "--standard", "gost", "--part", "hub", "--module", "2",
                            "--teeth", "20", "--shift", "0.3", "--tolerance", "0.0002"], None),
]


def reach(points, centre):
    distances = [math.hypot(x - centre[0], y - centre[1]) for x, y in points]
    return min(distances), max(distances)


def check(name, args, golden, cli, golden_dir, work_dir):
    problems = []
    plain = os.path.join(work_dir, name + ".plain.dxf")
    path = os.path.join(work_dir, name + ".dxf")
    if subprocess.run([cli] + args + ["-o", plain], capture_output=True).returncode != 0:
        return [f"{name}: tarvo-cli without --report failed"]
    run = subprocess.run([cli] + args + ["-o", path, "--report=json"], capture_output=True,
                         text=True)
    if run.returncode != 0:
        return [f"{name}: tarvo-cli exited {run.returncode}: {run.stderr.strip()}"]
    report = json.loads(run.stdout)
    if report["file"] != path:
        problems.append(f"{name}: report names {report['file']}")
    if not filecmp.cmp(path, plain, shallow=False):
        problems.append(f"{name}: --report changed the drawing")
    if golden and not filecmp.cmp(path, os.path.join(golden_dir, golden), shallow=False):
        problems.append(f"{name}: differs from golden {golden}")

    msp = ezdxf.readfile(path).modelspace()
    outlines = [[(p[0], p[1]) for p in pl.points()] for pl in msp.query("POLYLINE")]
    centres = [((l.dxf.start.x + l.dxf.end.x) / 2, (l.dxf.start.y + l.dxf.end.y) / 2)
               for l in msp.query("LINE") if l.dxf.start.x == l.dxf.end.x]
    wheels = report["wheels"]
    # The file holds an internal pair's ring first; the report keeps the designer's order.
    order = list(range(len(wheels)))
    if report["kind"] == "internal-pair" and not wheels[0]["internal_teeth"]:
        order = [1, 0]
    for wheel, k in zip(wheels, order):
        low, high = reach(outlines[k], centres[k])
        da, df = (2 * low, 2 * high) if wheel["internal_teeth"] else (2 * high, 2 * low)
        for key, value in (("da", da), ("df", df)):
            if abs(wheel[key] - value) > 1e-9:
                problems.append(f"{name}: {wheel['name']} {key} {wheel[key]}, ezdxf {value}")
    if report["pair"] is not None:
        drawn = math.dist(centres[0], centres[1])
        if abs(report["pair"]["aw"] - drawn) > 1e-9:
            problems.append(f"{name}: aw {report['pair']['aw']}, centres {drawn} apart")

    text = subprocess.run([cli] + args + ["-o", path, "--report"], capture_output=True,
                          text=True).stdout
    lines = text.splitlines()
    if not lines or lines[0] != path:
        problems.append(f"{name}: the text report does not start with the path")
    for wheel in wheels:
        if "%.4f" % wheel["da"] not in text:
            problems.append(f"{name}: text report lacks da {wheel['da']:.4f}")
    for warning in report["warnings"]:
        if "! " + warning["text"] not in lines:
            problems.append(f"{name}: text report lacks the warning {warning['kind']}")
    if name == "pointed" and [w["kind"] for w in report["warnings"]] != ["pointed-tooth"]:
        problems.append(f"{name}: warnings {report['warnings']}")
    return problems


def main():
    cli, golden_dir, work_dir = sys.argv[1:4]
    os.makedirs(work_dir, exist_ok=True)
    failed = set()
    for case in CASES:
        for problem in check(*case, cli, golden_dir, work_dir):
            print(problem)
            failed.add(case[0])
    print(f"{len(CASES) - len(failed)} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
