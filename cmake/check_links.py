#!/usr/bin/env python3
"""Links in the documents: every relative link in README.md and docs/*.md
names a file that exists, and the documents the release zip holds (DOCS in
scripts/package.sh) link only to files the zip holds, so that they work
from the zip too.

check_links.py ROOT
"""
import re
import sys
from pathlib import Path

LINK = re.compile(r"\]\(([^)\s]+)\)")
ZIP_FILES = re.compile(r"^readonly (DOCS|SUMMED)=\(([^)]*)\)", re.M)


def relative_links(document):
    """(line number, file) of each link that names a file by a relative path."""
    for number, line in enumerate(document.read_text(encoding="utf-8").splitlines(), 1):
        for target in LINK.findall(line):
            if not re.match(r"[a-z]+:", target) and not target.startswith("#"):
                yield number, target.split("#")[0]


def main():
    root = Path(sys.argv[1])
    lists = dict(ZIP_FILES.findall((root / "scripts" / "package.sh").read_text()))
    zipped_docs = lists["DOCS"].split()
    in_zip = set(zipped_docs) | {"LICENSE", "SHA256SUMS"}
    wrong = []
    for document in [root / "README.md", *sorted((root / "docs").glob("*.md"))]:
        zipped = document.parent == root / "docs" and document.name in zipped_docs
        for number, target in relative_links(document):
            where = f"{document.relative_to(root)}:{number}"
            if not (document.parent / target).exists():
                wrong.append(f"{where}: {target} does not exist")
            elif zipped and target not in in_zip:
                wrong.append(f"{where}: {target} is not in the release zip, which holds this document")
    for line in wrong:
        print(line)
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
