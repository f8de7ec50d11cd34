#!/usr/bin/env python3
"""The shape check of the sources (run by ctest as CodeShape).

Fails with the list of every offender in the given folder:
- a function over 60 lines (its lambdas count inside it), unless the contiguous comment above
  it holds the marker "shape check: data table" (a function that only returns a table);
- a class or struct over 400 lines: its declaration plus its member definitions, wherever they
  are, and those of the classes nested in it;
- a type or file named with a T or E prefix (TIconLibrary, EIconError), or any name or file
  named the way a form designer names components and their handlers (ListView1, N3,
  Timer1Timer, OpenFiles1Click).

Usage: CheckShape.py <ctags> <src folder>   (universal-ctags, with end lines)
"""
import os
import re
import subprocess
import sys

FUNCTION_LIMIT = 60
CLASS_LIMIT = 400
TABLE_MARKER = "shape check: data table"

TYPE_KINDS = {"class", "struct", "union", "enum", "typedef"}
PREFIXED = re.compile(r"^[TE][A-Z][a-z]")
# A component numbered by the designer, a menu separator, or a handler named after one.
DESIGNER_EVENTS = ("Click|DblClick|Timer|Change|Popup|Execute|Resize|Paint|Show|Hide|Create|"
                   "Destroy|Activate|Close|KeyDown|KeyUp|KeyPress|MouseDown|MouseUp|MouseMove|"
                   "DragDrop|DragOver|Select|SelectItem|Enter|Exit")
DESIGNER = [
    re.compile(r"^N[0-9]+$"),
    re.compile(r"[a-z][1-9]$"),
    re.compile(r"[A-Za-z][0-9]+(" + DESIGNER_EVENTS + r")$"),
]
# Names of encodings and sizes that end in a digit as a designer's names do.
DIGIT_WORDS = re.compile(r"(Utf|Int|Uint)(8|16|32|64)$")


class Tag:
    def __init__(self, line):
        kind, name, start, end, path, scope = line.split("|", 5)
        self.kind, self.name, self.path, self.scope = kind, name, path, scope
        self.start = int(start)
        self.end = int(end) if end else self.start

    @property
    def lines(self):
        return self.end - self.start + 1

    @property
    def full_name(self):
        return self.scope + "::" + self.name if self.scope else self.name

    @property
    def lambda_(self):
        return self.name.startswith("__anon")


def shown(name):
    """A qualified name as a reader knows it: no project namespace, no anonymous parts."""
    parts = [p for p in name.split("::") if p != "pictarix" and not p.startswith("__anon")]
    return "::".join(parts)


def read_tags(ctags, folder):
    # Prototypes too, for the names of members declared here and defined nowhere in the folder.
    command = [ctags, "-R", "--sort=no", "--languages=C++", "--kinds-C++=+p", "--fields=+neZ",
               "-x", "--_xformat=%K|%N|%n|%e|%F|%{scope}", folder]
    out = subprocess.run(command, check=True, capture_output=True, text=True).stdout
    return [Tag(line) for line in out.splitlines() if line.count("|") >= 5]


def is_table(tag, file_lines):
    """True when the comment block right above the function carries the table marker."""
    lines = file_lines(tag.path)
    index = tag.start - 2
    while index >= 0 and lines[index].strip().startswith("//"):
        if TABLE_MARKER in lines[index]:
            return True
        index -= 1
    return False


def long_functions(tags, file_lines):
    for tag in tags:
        if tag.kind == "function" and not tag.lambda_ and tag.lines > FUNCTION_LIMIT:
            if not is_table(tag, file_lines):
                yield (f"function {shown(tag.full_name)} ({tag.path}:{tag.start}): "
                       f"{tag.lines} lines, at most {FUNCTION_LIMIT}")


def large_classes(tags):
    functions = [t for t in tags if t.kind == "function" and not t.lambda_]
    for cls in tags:
        if cls.kind not in ("class", "struct") or cls.lambda_:
            continue
        name = cls.full_name
        total = cls.lines
        for f in functions:
            if f.scope != name and not f.scope.startswith(name + "::"):
                continue
            if f.path == cls.path and cls.start <= f.start <= cls.end:
                continue  # defined in the declaration, counted with it
            total += f.lines
        if total > CLASS_LIMIT:
            yield (f"class {shown(name)} ({cls.path}:{cls.start}): {total} lines with its "
                   f"member definitions, at most {CLASS_LIMIT}")


def designer_name(name):
    return not DIGIT_WORDS.search(name) and any(p.search(name) for p in DESIGNER)


def bad_names(tags, paths):
    for tag in tags:
        if tag.lambda_ or tag.kind == "namespace":
            continue
        where = f"({tag.path}:{tag.start})"
        if tag.kind in TYPE_KINDS and PREFIXED.search(tag.name):
            yield f"type {shown(tag.full_name)} {where}: named with a T or E prefix"
        elif designer_name(tag.name):
            yield f"{tag.kind} {shown(tag.full_name)} {where}: a form designer's name"
    for path in paths:
        stem = os.path.basename(path).split(".")[0]
        if PREFIXED.search(stem):
            yield f"file {path}: named with a T or E prefix"
        elif designer_name(stem):
            yield f"file {path}: a form designer's name"


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    ctags, folder = sys.argv[1], sys.argv[2]
    if not ctags or ctags.endswith("NOTFOUND"):
        sys.exit("The shape check needs universal-ctags (scripts/setup.sh installs it).")
    os.chdir(os.path.dirname(os.path.abspath(folder)))
    folder = os.path.basename(os.path.abspath(folder))
    tags = read_tags(ctags, folder)
    cache = {}

    def file_lines(path):
        if path not in cache:
            with open(path, encoding="utf-8", errors="replace") as source:
                cache[path] = source.read().splitlines()
        return cache[path]

    paths = sorted(os.path.join(root, name) for root, _, names in os.walk(folder)
                   for name in names)
    failures = [*long_functions(tags, file_lines), *large_classes(tags), *bad_names(tags, paths)]
    if failures:
        print("Over the limits of the code's shape:")
        for failure in failures:
            print("  " + failure)
        sys.exit(1)
    print(f"Shape: {len(tags)} tags of {len(paths)} files within the limits.")


if __name__ == "__main__":
    main()
