#!/usr/bin/env python3
"""Summarises how two golden results files differ: per function and code, how
many calls changed and the largest relative change of those that stayed
numbers.
    tools/golden_diff.py OLD.tsv NEW.tsv
"""
import collections
import math
import sys


def read(path):
    with open(path) as f:
        return [line.rstrip("\n").split("\t") for line in f]


def main():
    old, new = read(sys.argv[1]), read(sys.argv[2])
    if [c for c, _ in old] != [c for c, _ in new]:
        sys.exit("the two files hold different calls")
    moved = collections.defaultdict(lambda: [0, 0.0, None])
    for (call, a), (_, b) in zip(old, new):
        if a == b:
            continue
        words = call.split()
        key = (words[0], words[-2] if words[0] == "HofTS" else words[-1])
        entry = moved[key]
        entry[0] += 1
        try:
            x, y = float(a), float(b)
            rel = abs(y - x) / max(abs(x), 1e-300)
            if math.isfinite(rel) and rel > entry[1]:
                entry[1], entry[2] = rel, f"{call}: {a} -> {b}"
        except ValueError:
            entry[2] = entry[2] or f"{call}: {a} -> {b}"
    total = sum(e[0] for e in moved.values())
    print(f"{total} of {len(old)} calls changed")
    for (fn, code), (n, rel, example) in sorted(moved.items()):
        print(f"{fn:6} {code:>11} {n:5}  max rel {rel:.3g}  e.g. {example}")


if __name__ == "__main__":
    main()
