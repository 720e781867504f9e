#!/usr/bin/env python3
"""Checks that corvane.exe loads on Windows 95 to XP, from its PE header.

Reads the import table and header with the toolchain's objdump and compares
them with the reviewed import list (docs/imports.tsv). Fails when
  - the program is not a 32-bit GUI program for Windows 4.0 (subsystem and
    OS versions 4.0, which Windows 95 and NT 4.0 require),
  - it imports a function (or a DLL) the list does not name,
  - the list says Windows 95, 98, ME, NT 4.0 or 2000 lacks an import.

  check_imports.py LIST EXE [--objdump PROGRAM]
  check_imports.py --self-test
"""
import subprocess
import sys

# The oldest version of each family a row may name and still load on every
# system the program supports.
NINE_X_OK = {"95"}
NT_ORDER = ["3.1", "3.5", "3.51", "4.0", "2000", "XP"]
NT_NEWEST_OK = "4.0"
NT_VALUES = set(NT_ORDER) | {"none", "unknown"}
NINE_X_VALUES = {"95", "98", "ME", "none", "unknown"}
HEADER = {
    "Magic": "010b",  # PE32: a 32-bit program
    "MajorOSystemVersion": "4",
    "MinorOSystemVersion": "0",
    "MajorSubsystemVersion": "4",
    "MinorSubsystemVersion": "0",
    "Subsystem": "00000002",  # Windows GUI
}


def read_list(text):
    """Rows keyed by (dll, function), lower-cased DLL; errors for bad rows."""
    rows, errors = {}, []
    for number, line in enumerate(text.splitlines(), 1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if fields[:2] == ["dll", "function"]:
            continue
        if len(fields) != 6 or not all(f.strip() for f in fields):
            errors.append(f"list line {number}: needs six tab-separated fields")
            continue
        dll, function, nine_x, nt, checked, _source = fields
        if nine_x not in NINE_X_VALUES or nt not in NT_VALUES or checked not in ("yes", "no"):
            errors.append(f"list line {number}: unknown value in {fields[2:5]}")
            continue
        key = (dll.lower(), function)
        if key in rows:
            errors.append(f"list line {number}: {dll} {function} is listed twice")
        rows[key] = (nine_x, nt, checked)
    return rows, errors


def read_objdump(text):
    """The header fields of interest and the imports as (dll, name) pairs."""
    header, imports, dll, in_imports = {}, [], None, False
    for line in text.splitlines():
        words = line.split()
        if len(words) >= 2 and words[0] in HEADER and not in_imports:
            header[words[0]] = words[1]
        if line.startswith("The Import Tables"):
            in_imports = True
            continue
        if in_imports and line and not line[0].isspace():
            in_imports = False  # the next section
        if not in_imports:
            continue
        if "DLL Name:" in line:
            dll = line.split("DLL Name:", 1)[1].strip()
            continue
        # "\t<vma>\t <hint>  <name>"; an import by ordinal has no name.
        if dll and len(words) == 3 and line.startswith("\t"):
            try:
                int(words[0], 16)
                int(words[1])
            except ValueError:
                continue
            name = words[2] if words[2] != "<none>" else f"#{words[1]}"
            imports.append((dll, name))
    return header, imports


def check(list_text, objdump_text):
    rows, problems = read_list(list_text)
    header, imports = read_objdump(objdump_text)
    for field, wanted in HEADER.items():
        if header.get(field) != wanted:
            problems.append(f"PE header {field} is {header.get(field)}, must be {wanted}")
    if not imports:
        problems.append("no imports found: not a program, or objdump's output changed")
    newest_ok = NT_ORDER.index(NT_NEWEST_OK)
    for dll in sorted({d for d, _ in imports}):
        if (dll.lower(), "*") not in rows:
            problems.append(f"{dll}: the DLL has no row in the list")
    for dll, name in imports:
        for key, what in (((dll.lower(), "*"), dll), ((dll.lower(), name), f"{dll} {name}")):
            if key[1] == "*" and key not in rows:
                continue  # reported once above
            if key not in rows:
                problems.append(f"{what}: not in the list; add a reviewed row:\n"
                                f"    {dll}\t{name}\t<9x>\t<nt>\tno\t<source>")
                continue
            nine_x, nt, _checked = rows[key]
            if nine_x not in NINE_X_OK:
                problems.append(f"{what}: the list says Windows 95/98/ME lack it (9x {nine_x})")
            if nt not in NT_ORDER or NT_ORDER.index(nt) > newest_ok:
                problems.append(f"{what}: the list says NT 4.0/2000 lack it (nt {nt})")
    imported = {(d.lower(), n) for d, n in imports} | {(d.lower(), "*") for d, _ in imports}
    unused = sorted(k for k, v in rows.items() if k not in imported and v[0] in NINE_X_OK)
    return problems, imports, unused


def run(list_path, exe, objdump):
    with open(list_path, encoding="utf-8") as f:
        list_text = f.read()
    dump = subprocess.run([objdump, "-p", exe], capture_output=True, text=True)
    if dump.returncode != 0:
        print(dump.stderr, file=sys.stderr)
        print(f"{objdump} -p {exe} failed")
        return 1
    problems, imports, unused = check(list_text, dump.stdout)
    rows, _ = read_list(list_text)
    unchecked = sum(1 for d, n in imports if rows.get((d.lower(), n), ("", "", "yes"))[2] == "no")
    print(f"{exe}: {len(imports)} imports from {len({d.lower() for d, _ in imports})} DLLs; "
          f"{unchecked} rest on facts still to be confirmed")
    for key in unused:
        print(f"note: listed but not imported: {key[0]} {key[1]}")
    for problem in problems:
        print(f"FAIL: {problem}")
    return 1 if problems else 0


# objdump -p output, cut down to what the check reads.
SAMPLE = """
Magic\t\t\t010b\t(PE32)
MajorOSystemVersion\t4
MinorOSystemVersion\t0
MajorSubsystemVersion\t4
MinorSubsystemVersion\t0
Subsystem\t\t00000002\t(Windows GUI)

The Import Tables (interpreted .idata section contents)
 vma:            Hint    Time      Forward  DLL       First
\tDLL Name: KERNEL32.dll
\tvma:  Hint/Ord Member-Name Bound-To
\t153828\t 1032  CloseHandle
\t153840\t 1414  {function}

\t00000000\t00000000 00000000 00000000 00000000 00000000

The Export Tables
"""
LIST = ("dll\tfunction\t9x\tnt\tchecked\tsource\n"
        "kernel32.dll\t*\t95\t3.1\tno\tdoc\n"
        "KERNEL32.dll\tCloseHandle\t95\t3.1\tyes\tdoc\n"
        "KERNEL32.dll\tReadFile\t95\t3.1\tno\tdoc\n"
        "KERNEL32.dll\tWideOnly\tnone\t3.1\tno\tstub on 9x\n"
        "KERNEL32.dll\tNew98\t98\t3.1\tno\tdoc\n"
        "KERNEL32.dll\tNewXP\t95\tXP\tno\tdoc\n"
        "KERNEL32.dll\tNew2000\t95\t2000\tno\tdoc\n"
        "KERNEL32.dll\tUnsure\tunknown\t4.0\tno\tdoc\n")


def self_test():
    cases = [  # (what, objdump text, list text, failure expected, text in the report)
        ("listed import", SAMPLE.format(function="ReadFile"), LIST, False, ""),
        ("import not in the list", SAMPLE.format(function="Sneaky"), LIST, True, "not in the list"),
        ("missing on 9x", SAMPLE.format(function="WideOnly"), LIST, True, "95/98/ME lack"),
        ("new in 98", SAMPLE.format(function="New98"), LIST, True, "95/98/ME lack"),
        ("unknown on 9x", SAMPLE.format(function="Unsure"), LIST, True, "95/98/ME lack"),
        ("new in XP", SAMPLE.format(function="NewXP"), LIST, True, "NT 4.0/2000 lack"),
        ("new in 2000", SAMPLE.format(function="New2000"), LIST, True, "NT 4.0/2000 lack"),
        ("by ordinal", SAMPLE.format(function="<none>").replace(" 1414 ", " 17 "), LIST, True, "#17"),
        ("DLL without a row", SAMPLE.format(function="ReadFile"),
         LIST.replace("kernel32.dll\t*\t95\t3.1\tno\tdoc\n", ""), True, "has no row"),
        ("subsystem 5.0", SAMPLE.format(function="ReadFile").replace(
            "MajorSubsystemVersion\t4", "MajorSubsystemVersion\t5"), LIST, True, "MajorSubsystemVersion"),
        ("64-bit program", SAMPLE.format(function="ReadFile").replace("010b", "020b"), LIST, True, "Magic"),
        ("no import table", "MajorOSystemVersion\t4\n", LIST, True, "no imports"),
        ("row with five fields", SAMPLE.format(function="ReadFile"),
         LIST + "KERNEL32.dll\tX\t95\t3.1\tno\n", True, "six tab-separated"),
        ("row with a bad version", SAMPLE.format(function="ReadFile"),
         LIST + "KERNEL32.dll\tX\t96\t3.1\tno\tdoc\n", True, "unknown value"),
    ]
    failed = 0
    for what, dump, list_text, expect_failure, expect_text in cases:
        problems, _, _ = check(list_text, dump)
        report = "\n".join(problems)
        ok = bool(problems) == expect_failure and expect_text in report
        print(f"{'ok  ' if ok else 'FAIL'} {what}" + ("" if ok else f": {problems}"))
        failed += not ok
    print(f"{len(cases) - failed} passed, {failed} failed")
    return 1 if failed else 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    objdump = "i686-w64-mingw32-objdump"
    args = argv[1:]
    if "--objdump" in args:
        i = args.index("--objdump")
        objdump = args[i + 1]
        del args[i:i + 2]
    if len(args) != 2:
        print(__doc__)
        return 2
    return run(args[0], args[1], objdump)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
