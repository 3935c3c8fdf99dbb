#!/usr/bin/env python3
"""libvapordex as a script uses it: loaded with ctypes (nothing from the
package index), every golden call answers as `vapordex --batch` does (the
same double; NaN where the tool prints #NUM!), only the vdx_ functions are
exported, the SONAME carries the major version, and the header is C.
    capi_test.py LIBVAPORDEX VAPORDEX GOLDEN.tsv HEADER
"""
import ctypes
import math
import subprocess
import sys


def main():
    library, vapordex, golden, header = sys.argv[1:5]
    lib = ctypes.CDLL(library)
    failures = []

    calls = []
    with open(golden) as f:
        for line in f:
            call = line.split("\t")[0].split()
            calls.append(call)
    # The tool's answers for the same calls, line by line.
    batch = subprocess.run([vapordex, "--batch"], input="\n".join(" ".join(c) for c in calls) + "\n",
                           capture_output=True, text=True).stdout.splitlines()
    if len(batch) != len(calls):
        failures.append(f"--batch gave {len(batch)} lines for {len(calls)} calls")
    compared = 0
    for call, expected in zip(calls, batch):
        name, args = call[0], call[1:]
        if expected.startswith("error"):
            continue
        f = getattr(lib, "vdx_" + name)
        f.restype = ctypes.c_double
        numbers = args[:-2] if name == "HofTS" else args[:-1]
        code = args[-2] if name == "HofTS" else args[-1]
        f.argtypes = [ctypes.c_double] * len(numbers) + [ctypes.c_int32]
        value = f(*[float(x) for x in numbers], int(code))
        compared += 1
        if expected == "#NUM!":
            if not math.isnan(value):
                failures.append(f"{' '.join(call)}: {value!r}, the tool #NUM!")
        elif value != float(expected):
            failures.append(f"{' '.join(call)}: {value!r}, the tool {expected}")

    lib.vdx_version.restype = ctypes.c_char_p
    version = lib.vdx_version().decode()
    if not version or not version[0].isdigit():
        failures.append(f"version {version!r}")

    exported = subprocess.run(["nm", "-D", "--defined-only", library], capture_output=True,
                              text=True).stdout.split()
    names = [w for w in exported if not all(c in "0123456789abcdef" for c in w.lower()) and len(w) > 1]
    others = [n for n in names if not n.startswith("vdx_")]
    if others:
        failures.append(f"exported besides the API: {others[:5]}")
    soname = subprocess.run(["objdump", "-p", library], capture_output=True, text=True).stdout
    major = version.split(".")[0]
    if f"libvapordex.so.{major}" not in soname:
        failures.append("no SONAME libvapordex.so." + major)

    header_check = subprocess.run(["cc", "-std=c99", "-Wall", "-Wextra", "-Werror", "-fsyntax-only",
                                   "-x", "c", header], capture_output=True, text=True)
    if header_check.returncode != 0:
        failures.append("the header is not C: " + header_check.stderr.strip())

    for f in failures[:20]:
        print("FAIL:", f)
    print(f"{compared} calls compared, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
