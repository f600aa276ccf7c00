#!/usr/bin/env python3
"""Checks the rules of the source tree's layout (HACKING.md):

1. Includes only point down the layers, or stay in their own folder.
2. Qt Widgets and Qt Gui are included only under gui/qt/ (tests: under
   tests/gui/qt/); Qt Core only in files named Qt* and in gui/qt/.
3. Windows' window and control headers only under gui/win32/.
4. A CMakeLists.txt compiles only the files of its own folder.
5. A member's type letter tells its type (m_b bool, m_n integer, m_p pointer...).
6. With --compile-commands FILE --forbid FOLDER: no file of FOLDER was
   compiled in that build (gui/win32 in a Linux build, gui/qt in a Windows one).
6. No source gives a template (IDD_) or control (IDC_) a number of its own:
   they come from the header made from the layouts (resources/ControlIds.h).

Prints one line per breach and exits 1 when there is any.
    scripts/check-layout.py [--compile-commands FILE --forbid FOLDER]...
"""
import json
import os
import re
import subprocess
import sys

# Lower numbers lie below; folders on one level do not include each other.
LAYERS = [
    ["text", "driver"],
    ["port", "settings", "language", "clip"],
    ["link"],
    ["transfer"],
    ["screen", "sim"],
    ["gui/pages"],
    ["gui/qt", "gui/win32"],
    ["cli", "bench"],
]
LEVEL = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
SOURCE_EXTENSIONS = (".c", ".cpp", ".h", ".rc")
QT_INCLUDE_ROOTS = ["/usr/include/x86_64-linux-gnu/qt6", "/usr/include/qt6"]
WINDOW_HEADERS = {"commctrl.h", "commdlg.h", "prsht.h", "shellapi.h", "shlobj.h"}

top = subprocess.check_output(["git", "rev-parse", "--show-toplevel"], text=True).strip()
os.chdir(top)
problems = []


def layer_folder(path):
    """The layer a file belongs to ("gui/qt", "port"...), None outside them."""
    parts = path.split("/")
    if len(parts) >= 2 and "/".join(parts[:2]) in LEVEL:
        return "/".join(parts[:2])
    return parts[0] if parts[0] in LEVEL else None


def qt_module(header):
    for root in QT_INCLUDE_ROOTS:
        for module in ("QtCore", "QtGui", "QtWidgets", "QtUiTools", "QtTest"):
            if os.path.exists(os.path.join(root, module, header)):
                return module
    return None


files = subprocess.check_output(["git", "ls-files"], text=True).split()
include_re = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
for path in files:
    if not path.endswith(SOURCE_EXTENSIONS) or not os.path.isfile(path):
        continue
    text = open(path, encoding="utf-8", errors="replace").read()
    in_tests = path.startswith("tests/")
    own = layer_folder(path)
    base = os.path.basename(path)
    for kind, name in include_re.findall(text):
        if kind == '"' and "/" in name and not in_tests and own is not None:
            target = layer_folder(name)
            if target is not None and target != own and LEVEL[target] >= LEVEL[own]:
                problems.append(f"{path}: includes {name}, which is not below {own}/")
        if kind == "<" and re.match(r"Q[A-Za-z]+$", name):
            module = qt_module(name)
            gui_qt = path.startswith("tests/gui/qt/" if in_tests else "gui/qt/")
            if module in ("QtGui", "QtWidgets", "QtUiTools", "QtTest") and not gui_qt:
                problems.append(f"{path}: includes <{name}> ({module}) outside gui/qt/")
            elif module == "QtCore" and not gui_qt and not in_tests and not base.startswith("Qt"):
                problems.append(f"{path}: includes <{name}> (Qt Core) in a file not named Qt*")
        if kind == "<" and name.lower() in WINDOW_HEADERS and not in_tests \
                and not path.startswith("gui/win32/"):
            problems.append(f"{path}: includes <{name}> (windows and controls) outside gui/win32/")

# A member's type letter tells the truth about its type.
TYPE_LETTERS = {
    "b": r"\bbool\b",
    "n": r"\b(int|unsigned|long|short|size_t|u?int(8|16|32|64)_t|DWORD|UINT)\b",
    "u": r"\b(unsigned|uint(8|16|32|64)_t|size_t|UINT|DWORD)\b",
    "w": r"\b(uint16_t|WORD)\b",
    "dw": r"\b(uint32_t|DWORD|unsigned)\b",
    "str": r"\b(string|wstring|QString)\b",
    "sz": r"\b(char|wchar_t|string)\b",
    "p": r"(\*|_ptr<|QPointer<|PROC\b)",
    "h": r"(\bH[A-Z]+\b|Handle\b|HKEY__\s*\*|\*)",
}
member_re = re.compile(r"^\s*(?:static\s+|mutable\s+|inline\s+|const\s+)*([A-Za-z_][\w:<>,\s\*&]*?[\w>\*&])\s+"
                       r"\*?(m_(b|n|u|w|dw|str|sz|p|h)[A-Z]\w*)\s*(?:=[^=]|;|\{|\[)", re.M)
for path in files:
    if not path.endswith((".h", ".cpp")) or path.startswith("tests/support/gtest-win32/") or not os.path.isfile(path):
        continue
    for match in member_re.finditer(open(path, encoding="utf-8", errors="replace").read()):
        declared, name, letter = match.group(1), match.group(2), match.group(3)
        if declared.split()[-1] in ("return", "delete", "else", "do", "case", "throw", "co_return"):
            continue
        if not re.search(TYPE_LETTERS[letter], declared + ("*" if match.group(0).lstrip().find("*m_") >= 0 else "")):
            problems.append(f"{path}: {name} is a {declared.strip()}, not what m_{letter} says")

# A source named in a CMakeLists.txt must lie in that folder or below it.
source_re = re.compile(r'[^\s()"]+\.(?:c|cpp|h|rc|qrc)\b')
for path in files:
    if os.path.basename(path) != "CMakeLists.txt":
        continue
    folder = os.path.dirname(path)
    text = re.sub(r"#.*", "", open(path, encoding="utf-8").read())
    for name in source_re.findall(text):
        if re.match(r"\$\{(PROJECT|CMAKE)_SOURCE_DIR\}|\$\{Vantrel92_SOURCE_DIR\}", name) \
                or name.startswith("../") or "/../" in name:
            problems.append(f"{path}: names {name}, a file of another folder")
        elif name.startswith("/"):
            problems.append(f"{path}: names {name}, outside the tree")

# Template and control numbers typed by hand: a constant, an enumerator or a
# macro of an IDD_/IDC_ name (or a page's IDD) set to a number, or such a
# name paired with a number in a table.
literal = r"[-(\s]*(?:0[xX][0-9A-Fa-f]+|\d+)\b"
hand_id_res = [
    re.compile(r"\b(?:IDD|IDC)_\w*\s*=(?!=)" + literal),
    re.compile(r"\bIDD\s*=(?!=)" + literal),
    re.compile(r"#\s*define\s+(?:IDD|IDC)_\w+\s" + literal),
    re.compile(r'"(?:IDD|IDC)_\w+"\s*,' + literal),
]
for path in files:
    if not path.endswith(SOURCE_EXTENSIONS) or not os.path.isfile(path):
        continue
    for line_number, line in enumerate(open(path, encoding="utf-8", errors="replace"), 1):
        if any(pattern.search(line) for pattern in hand_id_res):
            problems.append(f"{path}:{line_number}: a template or control number typed by hand, "
                            "not taken from resources/ControlIds.h")

# What a build really compiled.
args = sys.argv[1:]
while args:
    if len(args) < 4 or args[0] != "--compile-commands" or args[2] != "--forbid":
        sys.exit(__doc__)
    database, forbidden = args[1], args[3].rstrip("/") + "/"
    args = args[4:]
    for entry in json.load(open(database)):
        source = os.path.relpath(os.path.join(entry["directory"], entry["file"]), top)
        if source.startswith(forbidden):
            problems.append(f"{database}: compiles {source}")

for problem in problems:
    print(problem)
if problems:
    print(f"check-layout: {len(problems)} breach(es) of the layout rules (HACKING.md)", file=sys.stderr)
    sys.exit(1)
print("check-layout: includes point down, each folder builds its own files, no control number by hand")
