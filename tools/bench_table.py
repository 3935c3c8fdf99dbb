#!/usr/bin/env python3
"""Prints the cost-per-call table of `vapordex_bench --benchmark_format=json`
(the Matrix/FUNCTION/CODE benchmarks) in ns per call, functions by rows and
formulation codes by columns, with the batch throughput below. With
repetitions, the medians are taken.
    vapordex_bench --benchmark_format=json | tools/bench_table.py
"""
import json
import sys

CODES = ["97", "95", "84", "69", "67", "20"]
FUNCTIONS = ["Psat", "Tsat", "Vf", "Vg", "Hf", "Hg", "Sf", "Sg", "VofTP", "HofTP", "SofTP",
             "PofTV", "HofTV", "SofTV", "TofPH", "TofPS", "HofPS", "SofPH", "HofTS"]


def main():
    data = json.load(sys.stdin)
    cost = {}
    regions = {}
    batch = None
    throughput = {}  # (workload, threads) -> calls per second
    for b in data["benchmarks"]:
        name = b["name"]
        # With repetitions, only the medians count.
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") != "median":
                continue
            name = name.rsplit("_median", 1)[0]
        if name.startswith("Matrix/"):
            _, fn, code = name.split("/")
            scale = {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
            cost[(fn, code)] = b["real_time"] * scale
        elif name.startswith("BM_MixedWorkload") or name.startswith("BM_ComputeLoop"):
            workload = "mixed" if name.startswith("BM_Mixed") else "loop"
            threads = int(name.rsplit("threads:", 1)[1].split("/")[0])
            throughput[(workload, threads)] = b.get("items_per_second")
        elif name.startswith("BM_BatchIf97Forward"):
            batch = b.get("items_per_second")
        elif name.startswith("Region/"):
            _, region, fn = name.split("/")
            scale = {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
            regions[(fn, region)] = b["real_time"] * scale
    print("| function | " + " | ".join(CODES) + " |")
    print("|---|" + "---|" * len(CODES))
    for fn in FUNCTIONS:
        cells = []
        for code in CODES:
            ns = cost.get((fn, code))
            cells.append("" if ns is None else f"{ns:.0f}")
        print(f"| {fn} | " + " | ".join(cells) + " |")
    if regions:
        print("\nIAPWS-IF97 by region (64 states of each), ns per call:\n")
        print("| function | region 1 | region 2 | region 3 |")
        print("|---|---|---|---|")
        for fn in ("VofTP", "HofTP", "SofTP"):
            cells = [regions.get((fn, str(r))) for r in (1, 2, 3)]
            print(f"| {fn} | " + " | ".join("" if c is None else f"{c:.0f}" for c in cells) + " |")
    if batch:
        print(f"\n`vapordex --batch`, IF97 forward lines: {batch / 1e6:.2f} million lines/s")
    if throughput:
        counts = sorted({t for (_, t) in throughput})
        print("\nThroughput on several threads (calls per second, and the scaling over one"
              " thread):\n")
        print("| threads | mixed workload | scaling | compute loop scaling | ratio |")
        print("|---|---|---|---|---|")
        for t in counts:
            mixed = throughput.get(("mixed", t))
            loop = throughput.get(("loop", t))
            mixed1 = throughput.get(("mixed", 1))
            loop1 = throughput.get(("loop", 1))
            if not (mixed and loop and mixed1 and loop1):
                continue
            scale = mixed / mixed1
            loopScale = loop / loop1
            print(f"| {t} | {mixed / 1e6:.3f} M/s | {scale:.2f} | {loopScale:.2f} |"
                  f" {scale / loopScale:.2f} |")


if __name__ == "__main__":
    main()
