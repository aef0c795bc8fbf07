#!/usr/bin/env python3
"""Checks every #include under src/ against the module table, src/modules.txt, which
src/CMakeLists.txt also links the libraries by.

A file of module M may include files of M and of the modules M's row names. A core file
(src/M/..., outside win32/) may include only core files and no Windows header; a shell
file (src/M/win32/...) the cores and shells of those modules. Prints "ok - ..." for the
table and for each module that keeps to it, "not ok - FILE:LINE: ..." for each include
that does not, and exits non-zero if any did. Run by scripts/test; standard library only.
"""

import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SRC = os.path.join(ROOT, "src")
TABLE = "src/modules.txt"

INCLUDE = re.compile(r'\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Headers of the Windows SDK and the libraries over it, by name (windows.h, winuser.h,
# wincodec.h, ...; a file of src/ is never taken for one): none of them in a core, which
# is built natively too.
WINDOWS_HEADER = re.compile(
    r"(win\w*|commctrl|commdlg|objbase|ole\w*|oaidl|ocidl|unknwn|combaseapi|"
    r"shellapi|shlobj|shlwapi|shellscalingapi|shcore|uxtheme|dwmapi|mmsystem|tchar|"
    r"richedit|psapi|tlhelp32|dbghelp|gdiplus|d2d1|dwrite|atl\w*)\.h",
    re.IGNORECASE,
)


def read_table(failures):
    """Module -> the modules it uses, as CMake reads the table: a row is a line that starts
    with a lower-case letter; its first word is the module, the rest what it uses, each
    of them a row above it (so that no module uses itself through another)."""
    uses = {}
    with open(os.path.join(ROOT, TABLE), encoding="utf-8") as table:
        for number, line in enumerate(table, 1):
            where = f"{TABLE}:{number}"
            if not re.match(r"[a-z]", line):
                if line.strip() and not line.startswith("#"):
                    failures.append(f"{where}: not read as a row by CMake, which takes only "
                                    "lines starting with a lower-case module name")
                continue
            module, *used = line.split()
            if module in uses:
                failures.append(f"{where}: {module} has a second row")
            if not os.path.isdir(os.path.join(SRC, module)):
                failures.append(f"{where}: {module} is no folder of src/")
            for name in used:
                if name not in uses:
                    failures.append(f"{where}: {module} uses {name}, not a module above it")
            uses[module] = set(used)
    for entry in sorted(os.listdir(SRC)):
        if os.path.isdir(os.path.join(SRC, entry)) and entry not in uses:
            failures.append(f"src/{entry}: a folder of src/ with no row in {TABLE}")
    return uses


def place(path, uses):
    """(module, layer) of a path under src/; module None for a file of no module."""
    parts = os.path.relpath(path, SRC).split(os.sep)
    if len(parts) < 2 or parts[0] not in uses:
        return None, None
    return parts[0], "shell" if parts[1] == "win32" and len(parts) > 2 else "core"


def included(directory, quoted, name, uses):
    """The file under src/ that an include names, looked for as the compiler does: a
    quoted name beside the including file first, then from src/. A name under a module's
    folder counts as that module's file even before it exists. None for any other file."""
    bases = [directory, SRC] if quoted else [SRC]
    for base in bases:
        path = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(path):
            return path if path.startswith(SRC + os.sep) else None
    if name.split("/")[0] in uses:
        return os.path.normpath(os.path.join(SRC, name))
    return None


def check_file(path, uses, failures):
    """The number of includes in PATH; each one against the table into FAILURES."""
    module, layer = place(path, uses)
    shown = os.path.relpath(path, ROOT)
    count = 0
    with open(path, encoding="utf-8", errors="replace") as source:
        for number, line in enumerate(source, 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            count += 1
            quoted, name = match.group(1) == '"', match.group(2)
            spelled = f'"{name}"' if quoted else f"<{name}>"
            where = f"{shown}:{number}: #include {spelled}"
            target = included(os.path.dirname(path), quoted, name, uses)
            if target is None:
                if layer == "core" and WINDOWS_HEADER.fullmatch(os.path.basename(name)):
                    failures.append(f"{where}: a core file includes a Windows header")
                continue
            other, other_layer = place(target, uses)
            if other is None:
                failures.append(f"{where}: a file of src/ outside every module")
            elif other != module and other not in uses[module]:
                failures.append(f"{where}: {module} does not use {other} ({TABLE})")
            elif layer == "core" and other_layer == "shell":
                failures.append(f"{where}: a core file includes a shell (win32/) file")
    return count


def main():
    table_failures, failures = [], []
    uses = read_table(table_failures)
    for failure in table_failures:
        print(f"not ok - {failure}")
    if not table_failures:
        print(f"ok - {TABLE}: {len(uses)} modules, one per folder of src/, each using "
              "only modules above it")
    for module in uses:
        before, count, files = len(failures), 0, 0
        for directory, _, names in sorted(os.walk(os.path.join(SRC, module))):
            for name in sorted(names):
                count += check_file(os.path.join(directory, name), uses, failures)
                files += 1
        for failure in failures[before:]:
            print(f"not ok - {failure}")
        if len(failures) == before:
            print(f"ok - {module}: the {count} includes of its {files} files keep to {TABLE}")
    return 1 if table_failures or failures else 0


if __name__ == "__main__":
    sys.exit(main())
