#!/usr/bin/env bash
# Times the editor commands end to end: the real DLL in the host stand-in under
# Wine, on a 10 MB editor text (samples/messy.sql repeated). The stand-in times
# each export and each call the plug-in makes into it (export_ms, and "ms" of
# the editor's callbacks and edit messages in the report), so Wine's start and
# the loading of the text are left out.
#
# The baseline is the plain read and write of the same text through the same
# callbacks: the time the command spent inside HostGetText/HostGetSelectedText,
# HostSetText or EM_REPLACESEL and the cursor callbacks. What the command adds
# on top (conversions to and from the ANSI code page, the transform) is the
# difference; "ratio" is the command's whole time over the baseline.
#
# Before it changes anything a command also reads the editor window's own text
# (WM_GETTEXT, host time) and compares it with the IDE's: each command is also
# run with that check cut short (the stand-in's --window-fault zero-length), so
# the plug-in's own time shows what the comparison costs; one row has nothing
# to change, one a text the ANSI code page cannot hold.
#
#   scripts/bench-e2e.sh            after scripts/build.sh
# QUILL_BUILD_DIR picks the build tree (default build); QUILL_BENCH_MB the size
# in MB (default 10); QUILL_BENCH_RUNS how often each is run (default 3; the
# fastest run is shown, then all of them).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
b="${QUILL_BUILD_DIR:-build}"
case "$b" in /*) ;; *) b="$root/$b" ;; esac
mb="${QUILL_BENCH_MB:-10}"
runs="${QUILL_BENCH_RUNS:-3}"
host="$b/x64/quillhost.exe"
[ -f "$host" ] && [ -f "$b/x64/plugin/Quillmendex.dll" ] || { echo "build first: scripts/build.sh" >&2; exit 2; }
command -v python3 >/dev/null || { echo "python3 is needed to read the reports" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The plug-in runs from a copy of what a user installs: it writes its settings
# beside itself at OnDestroy.
mkdir "$work/plugin"
cp "$b/x64/plugin/Quillmendex.dll" "$b/x64/plugin/"*.bmp "$work/plugin/"
plugin="$work/plugin/Quillmendex.dll"
size=$((mb * 1000000))
cp "$root/samples/messy.sql" "$work/text.sql"
while [ "$(stat -c %s "$work/text.sql")" -lt "$size" ]; do
  cat "$work/text.sql" "$work/text.sql" >"$work/double.sql"
  mv "$work/double.sql" "$work/text.sql"
done
head -c "$size" "$work/text.sql" >"$work/in.sql"
{ printf '('; cat "$work/in.sql"; printf ')'; } >"$work/paren.sql"

# run NAME INPUT ARGS...: stand-in runs, prints the click's milliseconds.
run() {
  local name="$1" input="$2"; shift 2
  local i
  for ((i = 1; i <= runs; i++)); do
    QUILL_WINE_TIMEOUT=900 "$root/scripts/wine-run" "$host" --plugin "$plugin" --in-utf8 "$input" \
      --report "$work/report$i.json" --out "$work/out.sql" "$@" >/dev/null
  done
  python3 - "$name" "$work"/report*.json <<'EOF'
import json, sys
rows = []
for path in sys.argv[2:]:
    r = json.load(open(path))
    click = sum(t for e, t in zip(r["exports"], r["export_ms"]) if e == "OnMenuClick")
    host = sum(c.get("ms", 0) for c in r["calls"])
    writes = ", ".join(c["name"] for c in r["calls"] if c["name"] in ("HostSetText", "EM_REPLACESEL")) or "none"
    writes += ", window read" if any(c["name"] == "WM_GETTEXT" for c in r["calls"]) else ""
    rows.append((click, host, writes))
click, host, writes = min(rows)
runs = " ".join(f"{c:.0f}" for c, _, _ in rows)
print(f"{sys.argv[1]:<46} {click:8.0f} {host:8.0f} {click - host:8.0f} {click / host if host else 0:6.2f}"
      f"  {writes} ({runs})", flush=True)
EOF
  rm -f "$work"/report*.json
}

# The same text with nothing to remove, and with a word that the ANSI code page
# cannot hold on every 200th line (the IDE's copy is then a lossy image).
sed 's/ *\r$/\r/' "$work/in.sql" >"$work/clean.sql"
word="$(printf '\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82')"  # Privet in Cyrillic, UTF-8
awk -v word="$word" '{ if (NR % 200 == 0) sub(/\r$/, " -- " word "\r"); print }' "$work/in.sql" >"$work/cyrillic.sql"
all=(--select 0:-1)
# Without the check: the window says its text is empty, so the plug-in reads
# nothing more from it and goes the IDE's way at once, as it did before it
# compared the two.
without=(--window-fault zero-length)
echo "editor text: $size bytes; times in ms (the fastest of $runs runs; all runs in brackets)"
printf '%-46s %8s %8s %8s %6s  %s\n' command total "in host" plug-in ratio writes
run "1 Remove trailing spaces, whole text" "$work/in.sql" --click 1
run "  the same without the check" "$work/in.sql" "${without[@]}" --click 1
run "1 Remove trailing spaces, nothing to remove" "$work/clean.sql" --click 1
run "  the same without the check" "$work/clean.sql" "${without[@]}" --click 1
run "1 Remove trailing spaces, Cyrillic (lossy)" "$work/cyrillic.sql" --click 1
run "2 Replace tab by spaces, TabPosition 4" "$work/in.sql" --pref TabPosition=4 --click 2
run "  the same without the check" "$work/in.sql" --pref TabPosition=4 "${without[@]}" --click 2
run "3 Remove blank lines, whole text" "$work/in.sql" --click 3
run "  the same without the check" "$work/in.sql" "${without[@]}" --click 3
run "1 Remove trailing spaces, all selected" "$work/in.sql" "${all[@]}" --click 1
run "  the same without the check" "$work/in.sql" "${all[@]}" "${without[@]}" --click 1
run "3 Remove blank lines, all selected" "$work/in.sql" "${all[@]}" --click 3
run "  the same without the check" "$work/in.sql" "${all[@]}" "${without[@]}" --click 3
run "5 Add () around selection, all selected" "$work/in.sql" "${all[@]}" --click 5
run "  the same without the check" "$work/in.sql" "${all[@]}" "${without[@]}" --click 5
run "10 Remove () around selection, all selected" "$work/paren.sql" "${all[@]}" --click 10
run "  the same without the check" "$work/paren.sql" "${all[@]}" "${without[@]}" --click 10
