#!/usr/bin/env python3
"""The charts as a reader meets them, checked from the SVG the tool writes:
every line label lies inside the plot area and clear of every other label,
a light grid is drawn, the legend stands beside the plot (not on its lines),
and overlaid formulations each have their colour.

    charts_test.py VAPORDEX

The plot area is the page fractions of cli/charts.hpp (left 0.1, right 0.7,
bottom 0.1, top 0.92) on the default 1000 by 750 page.
"""
import os
import re
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 1000.0, 750.0
PLOT = (0.1 * WIDTH, (1 - 0.92) * HEIGHT, 0.70 * WIDTH, (1 - 0.1) * HEIGHT)  # x0, y0, x1, y1
LABEL_FILL = "rgb(43.137255%,43.137255%,43.137255%)"  # the labels' grey (110, 110, 110)
GRID_STROKE = "stroke:rgb(88.235294%,88.235294%,88.235294%)"
GLYPH_WIDTH, GLYPH_HEIGHT = 8.0, 11.0  # at the labels' size

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


def groups(svg):
    """(fill, [(x, y), ...]) of each group of glyphs: one drawn text each."""
    for m in re.finditer(r'<g style="fill:(rgb\([^)]*\))[^"]*">(.*?)</g>', svg, re.S):
        uses = [(float(x), float(y)) for x, y in
                re.findall(r'<use xlink:href="#glyph[\d-]+" x="([-\d.]+)" y="([-\d.]+)"', m.group(2))]
        if uses:
            yield m.group(1), uses


def check(vapordex, args, name, colours=1):
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "chart.svg")
        run = subprocess.run([vapordex, "chart"] + args + ["--out", path], capture_output=True,
                             text=True, check=False)
        if run.returncode != 0:
            fail(f"{name}: status {run.returncode}: {run.stderr.strip()}")
            return
        svg = open(path, encoding="utf-8").read()
    boxes = []
    legend = []
    for fill, uses in groups(svg):
        xs = [x for x, _ in uses]
        ys = [y for _, y in uses]
        box = (min(xs), min(ys) - GLYPH_HEIGHT, max(xs) + GLYPH_WIDTH, max(ys) + 2)
        if fill == LABEL_FILL:
            boxes.append(box)
        elif fill == "rgb(0%,0%,0%)" and box[0] > PLOT[2] and box[3] < PLOT[3]:
            legend.append(box)
    if not boxes and name != "pt":
        fail(f"{name}: no line labels")
    for b in boxes:
        if not (b[0] >= PLOT[0] and b[2] <= PLOT[2] and b[1] >= PLOT[1] and b[3] <= PLOT[3]):
            fail(f"{name}: a label at {b} leaves the plot area {PLOT}")
    for i, a in enumerate(boxes):
        for b in boxes[i + 1:]:
            if a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]:
                fail(f"{name}: labels at {a} and {b} overlap")
    if GRID_STROKE not in svg:
        fail(f"{name}: no grid")
    if not legend:
        fail(f"{name}: no legend beside the plot")
    strokes = set(re.findall(r"stroke:(rgb\([^)]*\))", svg))
    formulation = strokes - {"rgb(0%,0%,0%)", "rgb(100%,100%,100%)",
                             "rgb(88.235294%,88.235294%,88.235294%)"}
    if len(formulation) < colours:
        fail(f"{name}: {len(formulation)} formulation colours, want {colours}")
    print(f"{name}: {len(boxes)} labels inside the plot, none overlapping")


def main():
    vapordex = sys.argv[1]
    for kind in ("ts", "hs", "ph", "pt"):
        check(vapordex, [kind], kind)
    check(vapordex, ["ts", "--codes", "97,67"], "ts 97,67", colours=2)
    check(vapordex, ["hs", "--codes", "97,84,20"], "hs 97,84,20", colours=3)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
