#!/usr/bin/env bash
# Puts the tables that the tests wrote (QUILL_TABLES_DIR, *.md) into README.md,
# each between its markers <!-- table:NAME --> and <!-- /table:NAME -->.
# A table may come in parts, NAME+KEY.md, written by tests that run in processes
# of their own: the parts are joined in the order of their keys, under the
# header (first two lines) that each of them repeats.
#   scripts/readme-tables.sh DIR          update README.md
#   scripts/readme-tables.sh DIR --check  fail when README.md says something else
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"; mode="${2:-}"
readme="$root/README.md"
new="$(mktemp)"
cp "$readme" "$new"
joined="$(mktemp -d)"
trap 'rm -rf "$joined"' EXIT
for part in "$dir"/*.md; do
  [ -f "$part" ] || continue
  name="$(basename "$part" .md)"
  name="${name%%+*}"
  if [ -f "$joined/$name.md" ]; then
    tail -n +3 "$part" >>"$joined/$name.md"
  else
    cat "$part" >"$joined/$name.md"
  fi
done
for table in "$joined"/*.md; do
  [ -f "$table" ] || continue
  name="$(basename "$table" .md)"
  python3 - "$new" "$name" "$table" <<'PY'
import sys
path, name, table = sys.argv[1:4]
text = open(path, encoding="utf-8").read()
begin, end = f"<!-- table:{name} -->", f"<!-- /table:{name} -->"
if begin in text and end in text:
    head, rest = text.split(begin, 1)
    _, tail = rest.split(end, 1)
    body = open(table, encoding="utf-8").read()
    text = head + begin + "\n" + body + end + tail
    open(path, "w", encoding="utf-8").write(text)
PY
done
if [ "$mode" = --check ]; then
  if ! diff -u "$readme" "$new"; then
    echo "README.md's tables differ from what the tests found (above): run scripts/test.sh and commit README.md"
    rm -f "$new"; exit 1
  fi
  rm -f "$new"
else
  mv "$new" "$readme"
fi
