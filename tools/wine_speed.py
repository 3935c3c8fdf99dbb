#!/usr/bin/env python3
"""Compares the add-in's cost per call under Wine with the native build's:
runs xlbench (tests/xlhost/xlbench.cpp) on a Windows add-in and the native
Matrix benchmarks over the same state mixes, and prints the ratio
(Windows / native) per function and code, with the geometric mean.
    tools/wine_speed.py 64 build/win64/xlhost build/win64/xll/Vapordex64.xll \\
        build/native/bench/vapordex_bench
A 32-bit add-in needs a machine whose kernel runs 32-bit programs.
"""
import json
import math
import os
import subprocess
import sys

CODES = ["97", "95", "84", "69", "67", "20"]


def main():
    bits, hostdir, addin, bench = sys.argv[1:5]
    here = os.path.dirname(os.path.abspath(__file__))
    loader = "/usr/lib/wine/wine" if bits == "32" else "/usr/lib/wine/wine64"
    prefix = os.path.join(os.path.dirname(os.path.abspath(hostdir)), "wine-speed-prefix")
    env = dict(os.environ, WINELOADER=loader)
    out = subprocess.run([os.path.join(here, "..", "scripts", "wine-env"), prefix, loader,
                          os.path.join(hostdir, "xlbench.exe"), addin, "5"],
                         env=env, check=True, capture_output=True, text=True).stdout
    windows = {}
    notes = []
    for line in out.splitlines():
        words = line.split()
        if line.startswith("#"):
            notes.append(line[1:].strip())
        elif len(words) == 3:
            windows[(words[0], words[1])] = float(words[2])
    native = {}
    data = json.loads(subprocess.run(
        [bench, "--benchmark_filter=Matrix/", "--benchmark_min_time=0.05",
         "--benchmark_repetitions=3", "--benchmark_format=json"],
        check=True, capture_output=True, text=True).stdout)
    # The best of the repetitions, as xlbench takes the best of its rounds.
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate":
            continue
        _, fn, code = b["run_name"].split("/")[:3] if "run_name" in b else b["name"].split("/")
        ns = b["real_time"] * {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
        native[(fn, code)] = min(ns, native.get((fn, code), ns))
    functions = []
    for fn, _ in windows:
        if fn not in functions:
            functions.append(fn)
    print(f"Windows {bits}-bit under Wine / native, per call:")
    print("| function | " + " | ".join(CODES) + " |")
    print("|---|" + "---|" * len(CODES))
    logs = []
    for fn in functions:
        cells = []
        for code in CODES:
            ratio = windows[(fn, code)] / native[(fn, code)]
            logs.append(math.log(ratio))
            cells.append(f"{ratio:.1f}")
        print(f"| {fn} | " + " | ".join(cells) + " |")
    print(f"\ngeometric mean: {math.exp(sum(logs) / len(logs)):.2f}")
    for note in notes:
        print(note)


if __name__ == "__main__":
    main()
