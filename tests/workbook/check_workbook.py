#!/usr/bin/env python3
"""Checks the example workbook with real readers.

    check_workbook.py WORKBOOK.xlsx VAPORDEX [--libreoffice]

openpyxl reads every formula and the value stored with it. A formula that
calls a worksheet function must refer to cells holding its arguments; the
call with those cells' values goes to `vapordex --batch`, whose answer must
be the stored value. A formula of plain arithmetic over cells must store what
that arithmetic gives. With --libreoffice the workbook is also opened by
LibreOffice Calc headless and converted to CSV, sheet by sheet; it must load
and show the stored values.
"""
import csv
import math
import os
import re
import subprocess
import sys
import tempfile

import openpyxl
from openpyxl.utils import column_index_from_string

FUNCTIONS = {"Psat", "Tsat", "Vf", "Vg", "Hf", "Hg", "Sf", "Sg", "VofTP", "HofTP", "SofTP",
             "PofTV", "HofTV", "SofTV", "TofPH", "TofPS", "HofPS", "SofPH", "HofTS",
             "CpofTP", "CvofTP", "WofTP", "XofPH", "XofPS", "MuofTP", "KofTP", "SigmaofT"}
REF = re.compile(r"\$?([A-Z]+)\$?([0-9]+)")
# A choice on the sign of the code: =IF(B8>0,"English text","SI text") or
# =IF(B8>0,expression,expression).
CHOICE = re.compile(r'^=IF\((\$?[A-Z]+\$?[0-9]+)>0,("[^"]*"|[^,"]+),("[^"]*"|[^,"]+)\)$')
CALL = re.compile(r"^=([A-Za-z]+)\(([^()]*)\)$")

failures = []


def fail(message):
    failures.append(message)
    if len(failures) <= 30:
        print("FAIL:", message)


def close(a, b, rel):
    return a == b or abs(a - b) <= rel * max(abs(a), abs(b))


def value_of(sheet, ref):
    m = REF.fullmatch(ref.strip())
    if not m:
        return None
    v = sheet.cell(row=int(m.group(2)), column=column_index_from_string(m.group(1))).value
    return v if isinstance(v, (int, float)) else None


def check_layout(workbook, labels):
    """What a reader and a printer meet: labels that follow the code, headers
    that fit their columns, paragraphs that show every line, units for the
    arguments, and sheets that print one page wide with their names."""
    for sheet in ("Saturation", "Cycle", "Exchanger"):
        if not any(name == sheet for name, _, _ in labels):
            fail(f"{sheet}: no label follows the sign of the code")
    about = workbook["About"]
    width = about.column_dimensions["A"].width
    if not width or width > 90:
        fail(f"About: column A is {width} characters wide, more than a portrait page")
    for row in about.iter_rows(min_row=3):
        c = row[0]
        if isinstance(c.value, str) and len(c.value) > width:
            lines = -(-len(c.value) // (width - 10))
            height = about.row_dimensions[c.row].height
            if not c.alignment.wrap_text or not height or height < 15 * lines:
                fail(f"About!{c.coordinate}: {lines} wrapped lines in a row {height} points high")
    for ws in workbook.worksheets:
        for row in ws.iter_rows():
            for c in row:
                if c.font.b and c.font.sz != 14 and isinstance(c.value, str):
                    letter = c.column_letter
                    width = ws.column_dimensions[letter].width or 8.43
                    if len(c.value) > width:
                        fail(f"{ws.title}!{c.coordinate}: '{c.value}' is cut at {width} characters")
        setup = ws.page_setup
        if not (ws.sheet_properties.pageSetUpPr and ws.sheet_properties.pageSetUpPr.fitToPage
                and setup.fitToWidth in (1, None) and setup.fitToHeight == 0):
            fail(f"{ws.title}: does not print one page wide")
        if "&A" not in (ws.oddHeader.left.text or ""):
            fail(f"{ws.title}: its printed pages do not name it")
    functions = workbook["Functions"]
    headers = [c.value for c in functions[2]]
    if "Formulation 2 (not used)" not in headers or "Units of the arguments" not in headers:
        fail(f"Functions: headers {headers}")
    units = {functions.cell(row=r, column=1).value: functions.cell(row=r, column=8).value
             for r in range(3, 3 + len(FUNCTIONS) * 6)}
    if units.get("HofTP") != "K, MPa" or units.get("TofPS") != "MPa, kJ/(kg K)":
        fail(f"Functions: argument units {units.get('HofTP')!r}, {units.get('TofPS')!r}")


def main():
    path, vapordex = sys.argv[1], sys.argv[2]
    formulas = openpyxl.load_workbook(path)
    values = openpyxl.load_workbook(path, data_only=True)
    if formulas.sheetnames != ["About", "Functions", "Saturation", "Compare", "Cycle",
                                "Exchanger"]:
        fail(f"sheets {formulas.sheetnames}")
    calls = []  # (where, batch line, stored value)
    labels = []  # (sheet, cell, code) of the choices on the code's sign
    arithmetic = 0
    for name in formulas.sheetnames:
        fs, vs = formulas[name], values[name]
        for row in fs.iter_rows():
            for c in row:
                if not (isinstance(c.value, str) and c.value.startswith("=")):
                    continue
                where = f"{name}!{c.coordinate} {c.value}"
                stored = vs[c.coordinate].value
                choice = CHOICE.match(c.value)
                if choice:
                    code = value_of(vs, choice.group(1))
                    chosen = choice.group(2) if code is not None and code > 0 else choice.group(3)
                    want = chosen[1:-1] if chosen.startswith('"') else eval(  # noqa: S307
                        REF.sub(lambda r: repr(float(value_of(vs, r.group(0)))), chosen))
                    labels.append((name, c.coordinate, code))
                    if want != stored:
                        fail(f"{where}: stored {stored!r}, the code's sign chooses {want!r}")
                    continue
                if not isinstance(stored, (int, float)):
                    fail(f"{where}: no stored number ({stored!r})")
                    continue
                m = CALL.match(c.value)
                if m and m.group(1) in FUNCTIONS:
                    args = [value_of(vs, r) for r in m.group(2).split(",")]
                    if any(a is None for a in args):
                        fail(f"{where}: an argument is not a cell holding a number")
                        continue
                    # Formulation codes are integers.
                    n_codes = 2 if m.group(1) == "HofTS" else 1
                    words = [m.group(1)] + [repr(float(a)) for a in args[:-n_codes]] + \
                        [str(int(a)) for a in args[-n_codes:]]
                    calls.append((where, " ".join(words), float(stored)))
                    if name == "Functions" and fs.cell(row=c.row, column=1).value != m.group(1):
                        fail(f"{where}: row is for {fs.cell(row=c.row, column=1).value}")
                    continue
                expression = REF.sub(lambda r: repr(float(value_of(vs, r.group(0)))), c.value[1:])
                if not re.fullmatch(r"[-+*/(). 0-9e]+", expression):
                    fail(f"{where}: not plain arithmetic over numbers")
                    continue
                arithmetic += 1
                # The file holds 16 significant digits: differences of nearby
                # cells lose digits, so compare on the scale of the operands.
                scale = max([abs(float(x)) for x in re.findall(r"[0-9.]+(?:e[-+]?[0-9]+)?",
                                                                expression)] + [abs(stored)])
                got = eval(expression)  # noqa: S307 (digits and operators only)
                if abs(got - float(stored)) > 1e-14 * scale:
                    fail(f"{where}: stored {stored}, arithmetic gives {got}")
    batch = subprocess.run([vapordex, "--batch"], input="\n".join(l for _, l, _ in calls) + "\n",
                           capture_output=True, text=True, check=False)
    answers = batch.stdout.splitlines()
    if batch.returncode != 0 or len(answers) != len(calls):
        fail(f"vapordex --batch: status {batch.returncode}, {len(answers)} answers for {len(calls)}")
    for (where, line, stored), answer in zip(calls, answers):
        try:
            expected = float(answer)
        except ValueError:
            fail(f"{where}: vapordex answers {answer!r} to {line}")
            continue
        # The file holds 16 significant digits; compare to them.
        if not close(expected, stored, 1e-15) or math.isnan(expected):
            fail(f"{where}: stored {stored!r}, vapordex {line} gives {answer}")
    functions_rows = sum(1 for w, _, _ in calls if w.startswith("Functions!"))
    if functions_rows != len(FUNCTIONS) * 6 * 2:
        fail(f"Functions sheet has {functions_rows} calls, want {len(FUNCTIONS) * 6 * 2}")
    print(f"{len(calls)} worksheet calls and {arithmetic} arithmetic formulas checked")
    check_layout(formulas, labels)

    if "--libreoffice" in sys.argv:
        with tempfile.TemporaryDirectory() as tmp:
            filt = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"
            run = subprocess.run(["soffice", "--headless", "--norestore",
                                  f"-env:UserInstallation=file://{tmp}/profile",
                                  "--convert-to", filt, "--outdir", tmp, path],
                                 capture_output=True, text=True, timeout=240, check=False)
            base = os.path.splitext(os.path.basename(path))[0]
            csv_path = os.path.join(tmp, f"{base}-Functions.csv")
            if run.returncode != 0 or not os.path.exists(csv_path):
                fail(f"LibreOffice could not convert the workbook: {run.stdout} {run.stderr}")
            else:
                shown = 0
                with open(csv_path, newline="", encoding="utf-8") as f:
                    rows = list(csv.reader(f))
                vs = values["Functions"]
                for r, row in enumerate(rows, start=1):
                    stored = vs.cell(row=r, column=6).value
                    if isinstance(stored, (int, float)) and \
                            formulas["Functions"].cell(row=r, column=6).value:
                        if len(row) < 6 or not close(float(row[5]), stored, 1e-13):
                            fail(f"LibreOffice shows {row[5:6]} at Functions!F{r}, stored {stored}")
                        shown += 1
                if shown != functions_rows:
                    fail(f"LibreOffice showed {shown} results, want {functions_rows}")
                print(f"LibreOffice shows the {shown} stored results of the Functions sheet")
    if failures:
        print(f"{len(failures)} failures")
        sys.exit(1)


if __name__ == "__main__":
    main()
