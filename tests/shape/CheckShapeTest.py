#!/usr/bin/env python3
"""The shape check over a small tree with one offender of each kind and their near misses.

Usage: CheckShapeTest.py <ctags> <CheckShape.py>
"""
import os
import subprocess
import sys
import tempfile


def function(name, lines, before=""):
    body = "".join(f"  x += {i};\n" for i in range(lines - 3))
    return f"{before}int {name}(int x) {{\n{body}  return x;\n}}\n\n"


def member(name, lines):
    # A lambda inside counts once, within its function.
    body = "".join(f"  x += {i};\n" for i in range(lines - 5))
    return f"int Big::{name}(int x) {{\n  auto f = [&] {{\n    return x;\n  }};\n{body}}}\n\n"


FILES = {
    "core/Lengths.cpp": function("LongFunction", 61) + function("LongestAllowed", 60) +
    function("Table", 90, "// The rows.\n// shape check: data table\n"),
    "core/Big.h": "struct Big {\n" + "".join(f"  int F{i}(int x);\n" for i in range(8)) + "};\n",
    "core/Big.cpp": "".join(member(f"F{i}", 50) for i in range(8)),
    "core/Fits.h": "struct Fits {\n  int F0(int x);\n};\n",
    "core/Fits.cpp": member("F0", 59).replace("Big::", "Fits::"),
    "core/Names.h": ("class TIconLibrary {};\nenum class EIconError { Bad };\nstruct Form {\n"
                     "  int ListView1;\n  void Timer1Timer();\n  void OpenFiles1Click();\n"
                     "  int FromUtf8;\n  int ReadU16;\n  int TileView;\n};\n"),
    "core/TMain.cpp": "int Plain() { return 0; }\n",
}

EXPECTED = [
    "function LongFunction (src/core/Lengths.cpp:1): 61 lines",
    "class Big (src/core/Big.h:1): 410 lines",
    "type TIconLibrary", "type EIconError", "member Form::ListView1", "Form::Timer1Timer",
    "Form::OpenFiles1Click", "file src/core/TMain.cpp: named with a T or E prefix",
]


def main():
    ctags, check = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as root:
        for path, text in FILES.items():
            os.makedirs(os.path.dirname(os.path.join(root, "src", path)), exist_ok=True)
            with open(os.path.join(root, "src", path), "w") as file:
                file.write(text)
        run = subprocess.run([sys.executable, check, ctags, os.path.join(root, "src")],
                             capture_output=True, text=True)
    out = run.stdout + run.stderr
    offenders = [line for line in out.splitlines() if line.startswith("  ")]
    missing = [e for e in EXPECTED if not any(e in line for line in offenders)]
    if run.returncode != 1 or missing or len(offenders) != len(EXPECTED):
        sys.exit(f"exit {run.returncode}, missing {missing}, output:\n{out}")
    print("The check lists exactly the offenders of the sample tree.")


if __name__ == "__main__":
    main()
