#!/usr/bin/env bash
# Every relative link and image in README.md and docs/*.md names a file (or
# folder) that exists, and a link to a heading (#anchor, in the same file or in
# another .md file) names a heading that is there, as GitHub spells anchors.
# Links to web addresses are not followed.
#   scripts/check-links.sh    prints every broken link; fails when there is one
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
python3 - "$root" <<'PY'
import glob, os, re, sys
root = sys.argv[1]

def anchors(path):
    found, seen = set(), {}
    fence = False
    for line in open(path, encoding="utf-8"):
        if line.startswith("```"):
            fence = not fence
        m = None if fence else re.match(r"#{1,6}\s+(.*?)\s*#*\s*$", line)
        if not m:
            continue
        slug = re.sub(r"[^\w\- ]", "", m.group(1).lower().replace("`", "")).replace(" ", "-")
        n = seen.get(slug, 0)
        seen[slug] = n + 1
        found.add(slug if n == 0 else f"{slug}-{n}")
    return found

def links(path):
    text = open(path, encoding="utf-8").read()
    text = re.sub(r"^```.*?^```", "", text, flags=re.S | re.M)  # code blocks hold no links
    text = re.sub(r"`[^`\n]*`", "", text)
    return re.findall(r"\]\(([^)\s]+)(?:\s+\"[^\"]*\")?\)", text)

broken = 0
for path in [os.path.join(root, "README.md")] + sorted(glob.glob(os.path.join(root, "docs", "*.md"))):
    rel = os.path.relpath(path, root)
    for target in links(path):
        if re.match(r"[a-z][a-z0-9+.-]*:", target, re.I):
            continue
        file, _, anchor = target.partition("#")
        dest = os.path.normpath(os.path.join(os.path.dirname(path), file)) if file else path
        if not os.path.exists(dest):
            print(f"{rel}: link to {target}: no file {os.path.relpath(dest, root)}")
            broken += 1
        elif anchor and dest.endswith(".md") and anchor not in anchors(dest):
            print(f"{rel}: link to {target}: no heading with that anchor in {os.path.relpath(dest, root)}")
            broken += 1
sys.exit(1 if broken else 0)
PY
