#!/usr/bin/python3
"""Writes a seeded set of drawings of every kind with tarvo-cli, for checks that take files
(scripts/cad-check, before/after comparisons): external and internal pairs with shifts, helix,
backlash, every rack row and custom racks; GOST and OST splines, shaft and hub; accuracy from
3 to the maximum. Data that tarvo-cli refuses are skipped; the count written is printed.
Arguments after the seed go to every drawing ("--fillet cut" draws every external root as the
cutting rack leaves it); point counts given there replace the random ones, which keeps a set
small enough for a slow checker ("--involute-points 10 --fillet-points 8"); "--tolerance MM"
replaces the counts.

Usage: tests/seeded_drawings.py TARVO_CLI OUT_DIR [COUNT [SEED [TARVO_CLI_ARG...]]]
"""
import os
import random
import subprocess
import sys

RACKS = ["18", "20", "22.5", "25", "28-0.95", "28-0.9"]
MODULES = ["0.5", "1", "1.25", "2", "3", "5", "8"]


def case(rnd):
    module = rnd.choice(MODULES)
    kind = rnd.randrange(4)
    if kind <= 1:
        internal = kind == 1
        z1 = rnd.randint(8, 60)
        z2 = rnd.randint(8, 90)
        if internal and z2 < z1 + 6:
            z2 = z1 + rnd.randint(6, 40)
        args = ["pair", "--mesh", "internal" if internal else "external", "--module", module,
                "--z1", str(z1), "--z2", str(z2),
                "--x1", f"{rnd.uniform(-0.3, 0.8):.4g}", "--x2", f"{rnd.uniform(-0.3, 0.8):.4g}"]
        if rnd.random() < 0.5:
            args += ["--helix", f"{rnd.uniform(0, 35):.4g}"]
        if rnd.random() < 0.5:
            args += ["--backlash", f"{rnd.uniform(0, 0.2):.4g}"]
        if rnd.random() < 0.2:
            ha = rnd.uniform(0.8, 1.2)
            args += ["--rack-custom", f"{rnd.uniform(15, 30):.4g},{ha:.4g},"
                     f"{ha * rnd.uniform(1, 1.25):.4g},{rnd.uniform(0.1, 0.4):.4g},"
                     f"{rnd.uniform(0.1, 0.4):.4g}"]
        else:
            args += ["--rack", rnd.choice(RACKS)]
    else:
        gost = kind == 2
        args = ["spline", "--standard", "gost" if gost else "ost",
                "--part", rnd.choice(["shaft", "hub"]), "--module", module,
                "--teeth", str(rnd.randint(8, 60))]
        if gost and rnd.random() < 0.5:
            args += ["--shift", f"{rnd.uniform(-0.3, 0.6):.4g}"]
    args += ["--involute-points", str(rnd.randint(3, 100)),
             "--fillet-points", str(rnd.randint(3, 50))]
    return args


def without_overridden(args, extra):
    """The case's arguments less the options (with their values) that `extra` gives again; a
    tolerance given there takes the place of the point counts."""
    if "--tolerance" in extra:
        extra = list(extra) + ["--involute-points", "--fillet-points"]
    kept = []
    skip = False
    for arg in args:
        if skip:
            skip = False
        elif arg in extra and arg.startswith("--"):
            skip = True
        else:
            kept.append(arg)
    return kept


def main():
    cli, out_dir = sys.argv[1:3]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 200
    rnd = random.Random(int(sys.argv[4]) if len(sys.argv) > 4 else 1)
    extra = sys.argv[5:]
    os.makedirs(out_dir, exist_ok=True)
    written = tried = 0
    while written < count and tried < 10 * count:
        tried += 1
        args = without_overridden(case(rnd), extra) + extra
        path = os.path.join(out_dir, f"case{tried:04d}.dxf")
        result = subprocess.run([cli, *args, "-o", path], capture_output=True, text=True)
        if result.returncode == 0:
            written += 1
            with open(path + ".args", "w") as note:
                note.write(" ".join(args) + "\n")
    print(f"{written} drawings written of {tried} tried, in {out_dir}")


if __name__ == "__main__":
    main()
