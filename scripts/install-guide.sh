#!/usr/bin/env bash
# Makes docs/INSTALL.txt, the guide in the release archive (scripts/package.sh
# puts in the version for @VERSION@), from the README: the part between
# <!-- guide --> and <!-- /guide --> as plain text for Notepad. Headings are
# underlined, paragraphs and list items wrapped, code blocks indented, each table
# row becomes an entry with its columns named; images and HTML comments are left
# out, links keep their text. So the README is the one place to change them.
#   scripts/install-guide.sh          write docs/INSTALL.txt
#   scripts/install-guide.sh --check  fail when docs/INSTALL.txt says something else
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
python3 - "$root" "${1:-}" <<'PY'
import difflib, re, sys, textwrap
root, mode = sys.argv[1:3]
readme = open(f"{root}/README.md", encoding="utf-8").read()
if "<!-- guide -->" not in readme or "<!-- /guide -->" not in readme:
    sys.exit("install-guide.sh: README.md has no <!-- guide --> ... <!-- /guide -->")
lines = readme.split("<!-- guide -->", 1)[1].split("<!-- /guide -->", 1)[0].splitlines()
WIDTH = 76

def inline(text):
    parts = re.split(r"`([^`]*)`", text)  # odd parts: code spans, taken as they stand
    for k in range(0, len(parts), 2):
        part = re.sub(r"!\[[^\]]*\]\([^)]*\)", "", parts[k])     # images
        part = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", part)     # links keep their text
        parts[k] = re.sub(r"\*\*([^*]+)\*\*", r"\1", part)
    return "".join(parts).strip()

def wrap(text, first, rest):
    return textwrap.fill(inline(text), WIDTH, initial_indent=first, subsequent_indent=rest,
                         break_long_words=False, break_on_hyphens=False)

def cells(row):
    return [c.strip() for c in row.strip().strip("|").split("|")]

out, i = ["Quillmendex @VERSION@ - plug-in for PL/SQL Developer", "=" * 52], 0
def block(text):
    if text.strip():
        out.extend(["", text])

while i < len(lines):
    line = lines[i]
    if not line.strip() or line.lstrip().startswith("<!--") or re.fullmatch(r"\s*!\[[^\]]*\]\([^)]*\)\s*", line):
        i += 1
    elif line.startswith("```"):
        j = i + 1
        while j < len(lines) and not lines[j].startswith("```"):
            j += 1
        block("\n".join("    " + l if l else "" for l in lines[i + 1:j]))
        i = j + 1
    elif m := re.match(r"(#+)\s+(.*)", line):
        title = inline(m.group(2))
        out.extend(["", ""] if len(m.group(1)) == 2 else [""])
        out.extend([title, ("-" if len(m.group(1)) == 2 else "~") * len(title)])
        i += 1
    elif line.startswith("|"):
        rows = []
        while i < len(lines) and lines[i].startswith("|"):
            rows.append(cells(lines[i]))
            i += 1
        head, entries = [inline(c) for c in rows[0]], []
        for row in rows[2:]:
            values = [inline(c) for c in row]
            if not any(values):
                continue
            entry = [wrap(values[0], "  * ", "    ")]
            for name, value in zip(head[1:], values[1:]):
                if value:
                    entry.append(wrap(f"{name}: {value}", "      ", "        "))
            entries.append("\n".join(entry))
        block("\n\n".join(entries))
    elif m := re.match(r"(\s*)(-|\d+\.)\s+(.*)", line):
        text, i = m.group(3), i + 1
        while i < len(lines) and lines[i].startswith(" ") and lines[i].strip() and \
                not re.match(r"\s*(-|\d+\.)\s", lines[i]):
            text += " " + lines[i].strip()
            i += 1
        bullet = "  " + m.group(2) + " "
        item = wrap(text, bullet, " " * len(bullet))
        if out and re.match(r"  (-|\d+\.) ", out[-1].split("\n")[0]) and not out[-1] == "":
            out[-1] += "\n" + item
        else:
            block(item)
    else:
        text, i = line, i + 1
        while i < len(lines) and lines[i].strip() and not re.match(r"(#|\||```|<!--|\s*(-|\d+\.)\s)", lines[i]):
            text += " " + lines[i].strip()
            i += 1
        block(wrap(text, "", ""))

guide = "\n".join(out) + "\n"
path = f"{root}/docs/INSTALL.txt"
if mode == "--check":
    now = open(path, encoding="utf-8").read()
    if now != guide:
        sys.stdout.writelines(difflib.unified_diff(now.splitlines(True), guide.splitlines(True),
                                                   "docs/INSTALL.txt", "docs/INSTALL.txt (from README.md)"))
        sys.exit("docs/INSTALL.txt is not what README.md gives (above): run scripts/install-guide.sh and commit it")
else:
    open(path, "w", encoding="utf-8").write(guide)
PY
