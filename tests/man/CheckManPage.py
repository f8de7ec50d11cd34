#!/usr/bin/env python3
"""Keeps a manual page in step with its program: the options the page names and those the
program's --help names must be the same.

    CheckManPage.py PAGE [PROGRAM]

Without PROGRAM the program takes no options (every argument is a path), so the page must name
none.
"""
import re
import subprocess
import sys

# "-s", "--json", "--output=DIR": a dash or two and a letter, not inside a word ("16-bit", "x-y")
# and not a number ("-2", "-1").
OPTION = re.compile(r"(?<![\w-])--?[A-Za-z][A-Za-z0-9-]*")


def page_text(path):
    with open(path, encoding="utf-8") as page:
        lines = [line for line in page if not line.startswith('.\\"')]
    text = "".join(lines)
    text = re.sub(r"\\f(\[[^\]]*\]|.)", "", text)  # font changes
    return text.replace("\\-", "-").replace("\\(rs", "\\")


def options(text):
    return set(OPTION.findall(text))


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    named = options(page_text(argv[1]))
    helped = set()
    if len(argv) == 3:
        run = subprocess.run([argv[2], "--help"], capture_output=True, text=True, timeout=60)
        if run.returncode != 0:
            print(f"{argv[2]} --help failed: {run.returncode} {run.stderr}", file=sys.stderr)
            return 1
        helped = options(run.stdout)
    if named == helped:
        return 0
    for option in sorted(named - helped):
        print(f"{argv[1]} names {option}, which --help does not", file=sys.stderr)
    for option in sorted(helped - named):
        print(f"--help names {option}, which {argv[1]} does not", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
