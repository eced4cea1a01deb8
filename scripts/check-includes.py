#!/usr/bin/env python3
"""Fails when a file of src/ includes a header of a folder that comes after
its own in the build order: includes run one way, from the shell down to the
platform, never back up.

    scripts/check-includes.py [source root]
"""
import pathlib
import re
import sys

# Each folder may include its own headers and those of the folders before it.
ORDER = ["platform", "widgets", "db", "archive", "data", "layout", "semaphores",
         "sessions", "companies", "menu", "shell"]
INCLUDE = re.compile(r'\s*#\s*include\s+"([A-Za-z_]+)/')


def violations(root):
    rank = {folder: index for index, folder in enumerate(ORDER)}
    src = root / "src"
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(src).parts[0]
        if folder not in rank:
            yield f"{path}: the folder {folder} has no place in the include order"
            continue
        for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if match and match.group(1) in rank and rank[match.group(1)] > rank[folder]:
                yield f"{path}:{number}: {folder} must not include {match.group(1)}: {line.strip()}"


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
    found = list(violations(root))
    for text in found:
        print(text)
    if found:
        print(f"{len(found)} include(s) against the order {' <- '.join(ORDER)}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
