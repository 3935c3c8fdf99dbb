#!/usr/bin/env python3
"""Writes the fixed worksheet calls of the golden results file, one per line
("FUNCTION ARG..."), in SI and English units for every formulation code.

The states cover ordinary liquid, vapour and supercritical states, the
saturation lines, the region boundaries of IF97 and IFC-67 and the critical
region, plus a few codes that select no formulation. The English calls are the
SI states converted, so both unit systems see the same states.

    tools/golden_calls.py > calls.txt
    build/native/cli/vapordex --batch calls.txt > results.txt
"""
import random
import sys

CODES = [67, 69, 84, 95, 97, 20]

SAT_T = [200, 273.15, 273.16, 280, 300, 320, 373.15, 400, 450, 500, 550, 600,
         623.15, 630, 640, 645, 646.5, 647.0, 647.096, 647.3, 650, 700]
SAT_P = [1e-5, 0.000611657, 0.001, 0.01, 0.1, 0.101325, 0.5, 1, 5, 10,
         16.529164253, 20, 22, 22.064, 22.1, 25]
GRID_T = [273.16, 300, 373.15, 450, 550, 600, 623.15, 630, 640, 645, 647,
          647.5, 650, 700, 800, 863.15, 1073.15]
GRID_P = [0.001, 0.01, 0.1, 1, 5, 10, 16.5, 20, 22.064, 25, 30, 50, 100]
GRID_V = [1.0, 1.05, 1.2, 1.6, 2.5, 3.5, 6, 20, 100, 1000, 1e4, 1e5]
GRID_H = [100, 500, 1000, 1500, 1800, 2100, 2500, 2700, 2800, 3000, 3500, 4000]
GRID_S = [0.5, 1, 2, 3, 3.8, 4.4, 5, 6, 7, 8, 9]
INV_P = [0.005, 0.1, 1, 5, 10, 18, 22, 25, 40]
INV_T = [280, 373.15, 450, 550, 630, 646, 700, 900]

SATURATION = ["Vf", "Vg", "Hf", "Hg", "Sf", "Sg"]
PROPERTY_T = [273.16, 300, 373.15, 450, 600, 640, 647.5, 700, 1073.15]
PROPERTY_P = [0.001, 0.1, 1, 10, 20, 22.064, 25, 50, 100]


def f_of_k(t):
    return t * 1.8 - 459.67


def psia(p):
    return p * 145.0377377


def ft3(v):
    return v / 62.42796058


def btu(h):
    return h / 2.326


def btu_r(s):
    return s / 4.1868


def calls():
    rng = random.Random(1997)
    rows = []  # (function, SI args, English args)
    for t in SAT_T:
        rows.append(("Psat", [t], [f_of_k(t)]))
        for fn in SATURATION:
            rows.append((fn, [t], [f_of_k(t)]))
    for p in SAT_P:
        rows.append(("Tsat", [p], [psia(p)]))
    for t in GRID_T:
        for p in GRID_P:
            for fn in ("VofTP", "HofTP", "SofTP"):
                rows.append((fn, [t, p], [f_of_k(t), psia(p)]))
        for v in GRID_V:
            for fn in ("PofTV", "HofTV", "SofTV"):
                rows.append((fn, [t, v], [f_of_k(t), ft3(v)]))
    for p in INV_P:
        for h in GRID_H:
            for fn in ("TofPH", "SofPH"):
                rows.append((fn, [p, h], [psia(p), btu(h)]))
        for s in GRID_S:
            for fn in ("TofPS", "HofPS"):
                rows.append((fn, [p, s], [psia(p), btu_r(s)]))
    for t in INV_T:
        for s in GRID_S:
            rows.append(("HofTS", [t, s], [f_of_k(t), btu_r(s)]))
    # A fixed random sample of ordinary states.
    for _ in range(60):
        t = rng.uniform(275, 1000)
        p = 10 ** rng.uniform(-3, 2)
        fn = rng.choice(["VofTP", "HofTP", "SofTP"])
        rows.append((fn, [t, p], [f_of_k(t), psia(p)]))
    for _ in range(20):
        p = 10 ** rng.uniform(-2, 1.5)
        h = rng.uniform(200, 3800)
        rows.append(("TofPH", [p, h], [psia(p), btu(h)]))

    out = []
    for fn, si, en in rows:
        for code in CODES:
            extra = [0] if fn == "HofTS" else []
            out.append([fn] + si + [-code] + extra)
            out.append([fn] + en + [code] + extra)
    # IFC-67's inverse functions above its 100 MPa limit, where the searches
    # run on the formulation's extrapolation (once platform-dependent).
    for p in (150.0, 250.0, 435.17):
        for h in (500.0, 1500.0, 2500.0, 3934.3):
            for fn in ("TofPH", "SofPH"):
                out.append([fn, p, h, -67])
                out.append([fn, psia(p), btu(h), 67])
        for s in (1.5, 4.0, 6.5):
            for fn in ("TofPS", "HofPS"):
                out.append([fn, p, s, -67])
                out.append([fn, psia(p), btu_r(s), 67])
    out.append(["SofPH", 63115.923782337981, 1691.454422243738, 67])
    # Codes that select no formulation, and arguments no state has.
    for code in (0, 50, -50, 2147483647, -2147483648):
        for fn, si, _ in rows[:: max(1, len(rows) // 40)]:
            extra = [0] if fn == "HofTS" else []
            out.append([fn] + si + [code] + extra)
    for code in CODES:
        for fn, args in (("HofTP", [300, -1]), ("VofTP", [300, 0]), ("HofTP", [-5, 1]),
                         ("PofTV", [400, -1]), ("HofTV", [0, 2]), ("TofPH", [-1, 100]),
                         ("HofPS", [0, 5]), ("HofTS", [-3, 5, 0]), ("Psat", [-10]),
                         ("Tsat", [-1]), ("Vf", [-1]), ("Hg", [1e6])):
            code_args = args[:-1] + [-code, 0] if fn == "HofTS" else args + [-code]
            out.append([fn] + code_args)
    # The properties from second derivatives, the transport properties, the
    # quality and the surface tension (after the earlier calls, which keep
    # their places).
    added = []
    for t in PROPERTY_T:
        for p in PROPERTY_P:
            for fn in ("CpofTP", "CvofTP", "WofTP", "MuofTP", "KofTP"):
                added.append((fn, [t, p], [f_of_k(t), psia(p)]))
    for p in INV_P:
        for h in GRID_H:
            added.append(("XofPH", [p, h], [psia(p), btu(h)]))
        for s in GRID_S:
            added.append(("XofPS", [p, s], [psia(p), btu_r(s)]))
    for t in SAT_T + [248.15, 250]:
        added.append(("SigmaofT", [t], [f_of_k(t)]))
    for fn, si, en in added:
        for code in CODES:
            out.append([fn] + si + [-code])
            out.append([fn] + en + [code])
    return out


def main():
    for call in calls():
        sys.stdout.write(" ".join(repr(x) if isinstance(x, float) else str(x) for x in call))
        sys.stdout.write("\n")


if __name__ == "__main__":
    main()
