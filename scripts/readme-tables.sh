#!/usr/bin/env bash
# Puts the tables that the tests wrote (QUILL_TABLES_DIR, *.md) into README.md
# and docs/*.md, each between its markers <!-- table:NAME --> and
# <!-- /table:NAME -->, in whichever of those files holds them.
# A table may come in parts, NAME+KEY.md, written by tests that run in processes
# of their own: the parts are joined in the order of their keys, under the
# header (first two lines) that each of them repeats.
# <!-- table:NAME rows=1,3 --> takes only those rows (counted from 1, under the
# header): a file can show a few examples of a table that another holds whole.
# A table that the tests wrote and no file has markers for is an error.
#   scripts/readme-tables.sh DIR          update the files
#   scripts/readme-tables.sh DIR --check  fail when a file says something else
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; mode="${2:-}"
python3 - "$root" "$dir" "$mode" <<'PY'
import difflib, glob, os, re, sys
root, tables_dir, mode = sys.argv[1:4]
check = mode == "--check"

tables = {}
for part in sorted(glob.glob(os.path.join(tables_dir, "*.md"))):
    name = os.path.basename(part)[:-3].split("+", 1)[0]
    lines = open(part, encoding="utf-8").read().splitlines(keepends=True)
    tables[name] = tables.get(name, []) + (lines[2:] if name in tables else lines)

files = [os.path.join(root, "README.md")] + sorted(glob.glob(os.path.join(root, "docs", "*.md")))
placed, failed = set(), False
for path in files:
    text = open(path, encoding="utf-8").read()
    new = text
    for name, lines in tables.items():
        def fill(m):
            rows = lines[2:]
            if m.group(1):
                rows = [rows[int(n) - 1] for n in m.group(1).split(",") if 0 < int(n) <= len(rows)]
            return m.group(0).split("\n", 1)[0] + "\n" + "".join(lines[:2] + rows) + f"<!-- /table:{name} -->"
        pattern = rf"<!-- table:{re.escape(name)}(?: rows=([0-9]+(?:,[0-9]+)*))? -->\n.*?<!-- /table:{re.escape(name)} -->"
        new, found = re.subn(pattern, fill, new, flags=re.S)
        if found:
            placed.add(name)
    if new == text:
        continue
    rel = os.path.relpath(path, root)
    if check:
        sys.stdout.writelines(difflib.unified_diff(text.splitlines(keepends=True), new.splitlines(keepends=True),
                                                   rel, rel + " (as the tests found)"))
        failed = True
    else:
        open(path, "w", encoding="utf-8").write(new)
for name in sorted(set(tables) - placed):
    print(f"readme-tables.sh: the tests wrote the table {name}, but no file has <!-- table:{name} --> and <!-- /table:{name} -->")
    failed = failed or check
if failed and check:
    print("The tables differ from what the tests found (above): run scripts/test.sh and commit the files")
sys.exit(1 if failed and check else 0)
PY
