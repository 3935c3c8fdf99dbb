#!/usr/bin/env python3
"""The LibreOffice Calc extension in a headless office with a private
profile and a private extension cache (never the user's):

- installs Vapordex.oxt with unopkg;
- the function wizard's descriptions: every worksheet function, with its
  help text and its arguments;
- a sheet of calls (every function under every formulation code, SI and
  English, the golden file's first calls of each, unknown codes, states
  with no answer) against `vapordex --batch`, number for number;
- bad input (text, a missing argument) gives Calc's error, never a crash;
- every formula of the example workbook, evaluated in Calc, against the
  value our generator stored in the cell.

    calc_test.py OXT VAPORDEX GOLDEN WORKBOOK
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import openpyxl
import uno
from com.sun.star.beans import PropertyValue

# The launcher, which starts the office again when it asks for a restart
# (as it does on its first start after an extension is installed).
SOFFICE = "/usr/lib/libreoffice/program/soffice"
UNOPKG = "/usr/lib/libreoffice/program/unopkg"
CODES = ("67", "69", "84", "95", "97", "20")

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def function_names(vapordex):
    out = subprocess.run([vapordex, "--list"], check=True, capture_output=True, text=True).stdout
    return [line.split()[0] for line in out.splitlines() if line and not line[0].isspace()]


def chosen_calls(golden):
    """The first two calls of each function and code in the golden file, SI
    and English, and every call with a code that selects no formulation or
    an argument no state has (the file's last part)."""
    seen = {}
    calls = []
    for line in open(golden, encoding="utf-8"):
        call = line.split("\t")[0].split()
        name = call[0]
        code = call[3] if name == "HofTS" else call[-1]
        key = (name, code)
        if code.lstrip("-") not in CODES or seen.get(key, 0) < 2:
            seen[key] = seen.get(key, 0) + 1
            calls.append(call)
    return calls


def native_results(vapordex, calls):
    text = "".join(" ".join(c) + "\n" for c in calls)
    out = subprocess.run([vapordex, "--batch"], input=text, check=True, capture_output=True,
                         text=True).stdout
    return out.splitlines()


def office_env(work):
    """A private profile and a private cache for the extensions."""
    return [f"-env:UserInstallation={uno.systemPathToFileUrl(work + '/profile')}",
            f"-env:UNO_SHARED_PACKAGES_CACHE={uno.systemPathToFileUrl(work + '/extensions')}"]


def start_office(work):
    return subprocess.Popen(
        [SOFFICE, "--headless", "--invisible", "--norestore", "--nologo", "--nodefault",
         f"--accept=pipe,name=vdxcalc{os.getpid()};urp;StarOffice.ComponentContext"]
        + office_env(work),
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def connect():
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    last = None
    for _ in range(240):
        try:
            return resolver.resolve(
                f"uno:pipe,name=vdxcalc{os.getpid()};urp;StarOffice.ComponentContext")
        except Exception as e:  # NoConnectException until the office listens
            last = e
            time.sleep(0.5)
    raise RuntimeError(f"no connection to the office: {last}")


def check_descriptions(smgr, ctx, names):
    descriptions = smgr.createInstanceWithContext("com.sun.star.sheet.FunctionDescriptions", ctx)
    found = {}
    for k in range(descriptions.getCount()):
        d = {p.Name: p.Value for p in descriptions.getByIndex(k)}
        found[str(d.get("Name", "")).upper()] = d
    for name in names:
        d = found.get(name.upper())
        if d is None:
            fail(f"{name} is not in Calc's function list")
            continue
        if "Vapordex" not in d["Description"] or not d["Arguments"]:
            fail(f"{name}: description {d['Description']!r}")
        for a in d["Arguments"]:
            if not a.Name or not a.Description:
                fail(f"{name}: an argument without a name or a description")


def cell_result(cell):
    if cell.getError() != 0:
        return None
    return cell.getValue()


def check_calls(sheet, doc, calls, native):
    for row, call in enumerate(calls):
        sheet.getCellByPosition(0, row).setFormula(f"={call[0]}({';'.join(call[1:])})")
    doc.calculateAll()
    compared = 0
    for row, (call, want) in enumerate(zip(calls, native)):
        got = cell_result(sheet.getCellByPosition(0, row))
        compared += 1
        if want == "#NUM!":
            if got is not None:
                fail(f"{' '.join(call)}: native #NUM!, Calc {got!r}")
        elif got is None or got != float(want):
            fail(f"{' '.join(call)}: native {want}, Calc {got!r}")
    print(f"{compared} calls compared with vapordex --batch")


def check_bad_input(sheet, doc):
    cases = [
        ('=Psat("hot";-97)', "error"),       # text where a number belongs
        ("=HofTP(500;1000)", "error"),       # a missing argument
        ("=HofTP(500;1000;50)", -999.0),     # a code that selects no formulation
        ("=Psat(373.15;-97)", None),         # then still a number
    ]
    for row, (formula, _) in enumerate(cases):
        sheet.getCellByPosition(1, row).setFormula(formula)
    doc.calculateAll()
    for row, (formula, want) in enumerate(cases):
        got = cell_result(sheet.getCellByPosition(1, row))
        if want == "error" and got is not None:
            fail(f"{formula}: {got!r}, not an error")
        elif isinstance(want, float) and got != want:
            fail(f"{formula}: {got!r}, not {want}")
        elif want is None and (got is None or not 0.1 < got < 0.11):
            fail(f"{formula}: {got!r} after bad input")


def check_workbook(desktop, path, names):
    stored = openpyxl.load_workbook(path, data_only=True)
    doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.abspath(path)), "_blank",
                                       0, (prop("Hidden", True),))
    pattern = re.compile(r"\b(" + "|".join(names) + r")\(", re.IGNORECASE)
    proper = {n.upper(): n for n in names}
    cells = []
    for ws in stored.worksheets:
        sheet = doc.Sheets.getByName(ws.title)
        for row in ws.iter_rows():
            for c in row:
                if not isinstance(c.value, (int, float)):
                    continue
                cell = sheet.getCellByPosition(c.column - 1, c.row - 1)
                formula = cell.getFormula()
                if not formula.startswith("="):
                    continue
                # The names as the function wizard and the API know them.
                cell.setFormula(pattern.sub(lambda m: proper[m.group(1).upper()] + "(", formula))
                cells.append((ws.title, c.coordinate, float(c.value), cell))
    doc.calculateAll()
    for title, where, want, cell in cells:
        got = cell_result(cell)
        if got is None or abs(got - want) > 1e-15 * max(abs(want), 1e-300):
            fail(f"workbook {title}!{where}: stored {want!r}, Calc {got!r}")
    print(f"{len(cells)} workbook formulas recalculated")
    doc.close(True)


def main():
    oxt, vapordex, golden, workbook = sys.argv[1:5]
    work = tempfile.mkdtemp(prefix="vapordex-calc-")
    office = None
    try:
        os.makedirs(work + "/extensions")
        # --shared into the private cache: unopkg refuses per-user installs
        # as root, and the cache keeps the office's own installation clean.
        subprocess.run([UNOPKG, "add", "--shared", "--suppress-license"] + office_env(work) + [oxt],
                       check=True, capture_output=True)
        office = start_office(work)
        ctx = connect()
        smgr = ctx.ServiceManager
        desktop = smgr.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        names = function_names(vapordex)
        check_descriptions(smgr, ctx, names)
        doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                           (prop("Hidden", True),))
        sheet = doc.Sheets.getByIndex(0)
        calls = chosen_calls(golden)
        check_calls(sheet, doc, calls, native_results(vapordex, calls))
        check_bad_input(sheet, doc)
        doc.close(True)
        check_workbook(desktop, workbook, names)
        if office.poll() is not None:
            fail("the office ended during the tests")
        try:
            desktop.terminate()
        except Exception:  # the bridge closes as the office ends
            pass
        office.wait(timeout=60)
    finally:
        if office is not None and office.poll() is None:
            office.kill()
        shutil.rmtree(work, ignore_errors=True)
    print(f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
