#!/usr/bin/env bash
# Stress run of the real DLL in the host stand-in under Wine, as a heavy user of
# the stand-in drives it: lanes side by side, each starting the stand-in again
# and again on a freshly generated PL/SQL text (2 KB to 200 KB, tabs, trailing
# blanks, blank lines, literals, pairs), in code page 1252 or 932 (LANG), with
# and without KeepStringLiterals=1 in a Quillmendex.ini beside the DLL, with
# TabPosition, selections and sequences of exports that vary from run to run
# (every command through Each, clicks, sweeps, Undo). One Wine prefix for all
# lanes, and Wine's notepad kept open beside them (it keeps Wine's desktop
# process alive between runs, as on a user's machine).
#
# A run passes when the stand-in exits 0 and its report parses without a
# "fault". Every other run is kept in OUT/fail-NNNNNN/: the input, the command
# line (cmdline.txt, ready to paste), exit status, stdout, stderr, the report
# and the settings file; then it is run once more with Wine's diagnostics
# (QUILL_STRESS_DEBUG, default +seh,+process) into debug/. The end prints the
# counts and writes them to OUT/summary.txt.
#
#   scripts/stress.sh [RUNS] [MINUTES]    default 200 runs, at most 20 minutes
#
# QUILL_BUILD_DIR picks the build tree (default build; after scripts/build.sh).
# QUILL_STRESS_OUT   the folder for failing runs (default BUILD/stress)
# QUILL_STRESS_LANES lanes side by side (default 2)
# QUILL_STRESS_SEED  first seed: run N uses seed SEED+N, so a run can be made again
# QUILL_STRESS_DEBUG WINEDEBUG for the second look at a failing run ("" for none)
# QUILL_STRESS_WINEDEBUG WINEDEBUG for every run (default -all); its stderr is
#                    kept for failing runs only
# QUILL_STRESS_SHARED=1  all lanes run one copy of the plug-in's folder, so one
#                    lane's settings file is written and removed under the other
# QUILL_WINEPREFIX   the prefix, as for scripts/wine-run (default: a fresh one)
# Not part of scripts/test.sh: a few thousand runs take hours on two cores.
set -euo pipefail
# All in one function: bash reads it whole before it runs, so editing this file
# while a stress run goes on does not disturb it.
main() {
root="$(cd "$(dirname "$0")/.." && pwd)"
b="${QUILL_BUILD_DIR:-build}"
case "$b" in /*) ;; *) b="$root/$b" ;; esac
host="$b/x64/quillhost.exe"
[ -f "$host" ] && [ -f "$b/x64/plugin/Quillmendex.dll" ] || { echo "build first: scripts/build.sh" >&2; exit 2; }
command -v python3 >/dev/null || { echo "python3 is needed" >&2; exit 2; }

runs="${1:-200}"
minutes="${2:-20}"
out="${QUILL_STRESS_OUT:-$b/stress}"
mkdir -p "$out"
work="$(mktemp -d)"
fresh_prefix=0
if [ -z "${QUILL_WINEPREFIX:-}" ]; then
  export QUILL_WINEPREFIX="$work/wine"
  fresh_prefix=1
fi
notepad_pid=""
server_pid=""
cleanup() {
  [ -n "$notepad_pid" ] && kill "$notepad_pid" 2>/dev/null || true
  if [ "$fresh_prefix" = 1 ]; then WINEPREFIX="$QUILL_WINEPREFIX" timeout 60 wineserver -k 2>/dev/null || true; fi
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The prefix is made by the first run of wine-run; notepad then keeps the
# desktop process alive between the stand-in's runs. In a prefix of its own the
# wineserver is started here, persistent, with its messages (a process it ends
# for a protocol error, say) in OUT/wineserver.log: a server started by a run
# would write them where that run's stderr went.
QUILL_WINE_TIMEOUT=60 "$root/scripts/wine-run" cmd /c exit 0 >/dev/null 2>&1 || true
server_pid=""
if [ "$fresh_prefix" = 1 ]; then
  WINEPREFIX="$QUILL_WINEPREFIX" timeout 60 wineserver -w || true
  WINEPREFIX="$QUILL_WINEPREFIX" timeout $((minutes * 60 + 900)) wineserver -f -p 2>"$out/wineserver.log" &
  server_pid=$!
  sleep 1
fi
QUILL_WINE_TIMEOUT=$((minutes * 60 + 600)) "$root/scripts/wine-run" notepad >/dev/null 2>"$out/notepad.log" &
notepad_pid=$!

python3 - "$root" "$b" "$out" "$work" "$runs" "$minutes" <<'PY'
import json, os, random, shutil, subprocess, sys, threading, time

root, build, out, work, runs, minutes = sys.argv[1:7]
runs, minutes = int(runs), float(minutes)
lanes = int(os.environ.get("QUILL_STRESS_LANES", "2"))
seed0 = int(os.environ.get("QUILL_STRESS_SEED", str(int(time.time()) % 1000000 * 1000)))
debug = os.environ.get("QUILL_STRESS_DEBUG", "+seh,+process")
winedebug = os.environ.get("QUILL_STRESS_WINEDEBUG", "-all")
shared = os.environ.get("QUILL_STRESS_SHARED", "0") == "1"
wine_run = os.path.join(root, "scripts", "wine-run")
host = os.path.join(build, "x64", "quillhost.exe")
plugin_src = os.path.join(build, "x64", "plugin")
deadline = time.time() + minutes * 60

def win(path):
    return "Z:" + path.replace("/", "\\")

# ---- texts ---------------------------------------------------------------
WORDS = ["l_id", "l_name", "v_count", "p_emp", "c_cursor", "t_table", "x", "employees", "dept_no", "salary"]
TYPES = ["number", "varchar2(30)", "date", "pls_integer", "boolean", "clob", "employees%rowtype"]
EXTRA = {1252: "éüßñÆ€çÅ", 932: "日本語のテキスト表示カナ"}
FOREIGN = "ПриветαβЖук😀（ā）\u2003"   # outside both code pages

def gen_text(rnd, cp, foreign):
    # Mostly a few KB (Wine's edit control takes seconds per command on 200 KB).
    r = rnd.random()
    size = int(1000 * (8 ** rnd.random())) if r < 0.6 else \
        int(8000 * (5 ** rnd.random())) if r < 0.9 else int(40000 * (5 ** rnd.random()))
    lines = []
    n = 0
    def ws():
        return rnd.choice(["", "", " ", "  ", "\t", " \t ", "    ", "\t\t"])
    while n < size:
        k = rnd.randrange(16)
        w = rnd.choice(WORDS)
        if k == 0:
            line = "create or replace procedure %s(%s in %s) is" % (w, rnd.choice(WORDS), rnd.choice(TYPES))
        elif k == 1:
            line = "\t%s\t\t%s;" % (w, rnd.choice(TYPES))
        elif k == 2:
            line = "  %s := '%s''s %s';" % (w, rnd.choice(WORDS), rnd.choice(EXTRA[cp]) * rnd.randrange(3))
        elif k == 3:
            line = "  s := q'[line one  \r\n\r\n\tline two]';"
        elif k == 4:
            line = "-- don't %s %s" % (w, rnd.choice(EXTRA[cp]))
        elif k == 5:
            line = "/* %s 'x */ select \"My Col\" from %s;" % (w, rnd.choice(WORDS))
        elif k == 6:
            line = ""
        elif k == 7:
            line = "  if (%s > [%s]) then {%s} end if;" % (w, rnd.randrange(100), rnd.choice(WORDS))
        elif k == 8:
            line = "PROMPT Don't forget %s" % w
        elif k == 9 and foreign:
            line = "  %s := '%s';" % (w, "".join(rnd.choice(FOREIGN) for _ in range(rnd.randrange(1, 6))))
        elif k == 10:
            line = "  \"%s\"(%s) := '(%s)';" % (w, rnd.randrange(9), w)
        else:
            line = "  %s := %s + %d;  -- %s" % (w, rnd.choice(WORDS), rnd.randrange(1000), rnd.choice(WORDS))
        line += ws()
        lines.append(line)
        n += len(line) + 2
        if rnd.random() < 0.05:
            lines.extend([ws()] * rnd.randrange(1, 4))
    sep = "\r\n"
    text = sep.join(lines)
    if rnd.random() < 0.1:
        text += "\n lone LF \r lone CR"
    if rnd.random() < 0.5:
        text += sep
    return text

def utf16_len(s):
    return len(s.encode("utf-16-le")) // 2

SEQUENCES = [
    "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,onWindowChange,Each:1:14,OnDestroy",
    "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,onWindowChange,Each:1:3,OnDestroy",
    "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,onWindowChange,Clicks,Undo,Clicks,OnDestroy",
    "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,onWindowChange,Sweep:-1:20,OnDestroy",
    "IdentifyPlugIn:1,RegisterAll,OnCreate,CreateMenuItems,OnActivate,Each:5:14,onWindowChange,Each:1:3,OnDestroy",
]

def make_run(seq_no):
    seed = seed0 + seq_no
    rnd = random.Random(seed)
    cp = rnd.choice([1252, 932])
    foreign = rnd.random() < 0.3
    text = gen_text(rnd, cp, foreign)
    keep = rnd.random() < 0.5
    tab = rnd.choice(["4", "4", "4", "2", "8", "3", "0", "-1", "four"])
    # Every command on each fresh copy of a large text takes minutes: those get the first three.
    seq = rnd.choice(SEQUENCES[:2] * 3 + SEQUENCES) if len(text) < 40000 else SEQUENCES[1]
    args = ["--pref", "TabPosition=" + tab, "--sequence", seq]
    for _ in range(rnd.randrange(1, 4)):
        args += ["--click", str(rnd.choice([1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14]))]
    n = utf16_len(text)
    r = rnd.random()
    if r < 0.3:
        pass
    elif r < 0.45:
        args += ["--select", "0:-1"]
    elif r < 0.55:
        p = rnd.randrange(n + 1)
        args += ["--select", "%d:%d" % (p, p)]
    else:
        a, c = sorted(rnd.randrange(n + 1) for _ in range(2))
        args += ["--select", "%d:%d" % (a, c)]
    utf8 = foreign or rnd.random() < 0.5
    return dict(seed=seed, cp=cp, text=text, keep=keep, args=args, utf8=utf8)

# ---- lanes ---------------------------------------------------------------
lock = threading.Lock()
counter = {"next": 0, "done": 0, "passed": 0, "failed": 0}
kinds = {}

def next_no():
    with lock:
        if counter["next"] >= runs or time.time() >= deadline:
            return None
        counter["next"] += 1
        return counter["next"]

def classify(rc, report, stderr):
    if rc == 124 or rc == 137:
        return "timeout (exit %d)" % rc
    if report is None:
        # Debian's wine wrapper speaks of wine32 whenever WINEDEBUG is not -all.
        first = [l for l in stderr.strip().splitlines() if "wine32" not in l and "multiarch" not in l
                 and "dpkg --add-architecture" not in l][:1]
        return "exit %d, no report%s" % (rc, (": " + first[0]) if first else ", nothing on stderr")
    if report == "unparsable":
        return "exit %d, report not JSON" % rc
    if "fault" in report:
        return "exit %d, fault %s" % (rc, report["fault"])
    return "exit %d" % rc

def lane(no):
    d = os.path.join(work, "lane%d" % no)
    os.makedirs(d, exist_ok=True)
    plugdir = os.path.join(work if shared else d, "plugin")
    with lock:
        if not os.path.exists(os.path.join(plugdir, "Quillmendex.dll")):
            os.makedirs(plugdir, exist_ok=True)
            for f in os.listdir(plugin_src):
                if f.endswith(".dll") or f.endswith(".bmp"):
                    shutil.copy(os.path.join(plugin_src, f), plugdir)
    ini = os.path.join(plugdir, "Quillmendex.ini")
    while True:
        k = next_no()
        if k is None:
            return
        run = make_run(k)
        lang = "en_US.UTF-8" if run["cp"] == 1252 else "ja_JP.UTF-8"
        inpath = os.path.join(d, "in.txt")
        data = run["text"].encode("utf-8") if run["utf8"] else run["text"].encode("cp1252" if run["cp"] == 1252 else "cp932", "replace")
        with open(inpath, "wb") as f:
            f.write(data)
        if os.path.exists(ini):
            os.remove(ini)
        if run["keep"]:
            with open(ini, "wb") as f:
                f.write(b"[Settings]\r\nKeepStringLiterals=1\r\n")
        report = os.path.join(d, "report.json")
        outp = os.path.join(d, "out.txt")
        for p in (report, outp):
            if os.path.exists(p):
                os.remove(p)
        argv = [wine_run, host, "--plugin", win(os.path.join(plugdir, "Quillmendex.dll")),
                "--in-utf8" if run["utf8"] else "--in", win(inpath),
                "--report", win(report), "--out", win(outp)] + run["args"]
        env = dict(os.environ, LANG=lang, LC_ALL=lang, QUILL_WINE_TIMEOUT="120", WINEDEBUG=winedebug)
        p = subprocess.run(argv, env=env, stdin=subprocess.DEVNULL, capture_output=True)
        rep = None
        if os.path.exists(report) and os.path.getsize(report) > 0:
            try:
                with open(report, "rb") as f:
                    rep = json.loads(f.read())
            except ValueError:
                rep = "unparsable"
        stderr = p.stderr.decode("utf-8", "replace")
        ok = p.returncode == 0 and isinstance(rep, dict) and "fault" not in rep
        with lock:
            counter["done"] += 1
            counter["passed" if ok else "failed"] += 1
            done = counter["done"]
        if not ok:
            kind = classify(p.returncode, rep, stderr)
            keep = os.path.join(out, "fail-%06d" % k)
            shutil.rmtree(keep, ignore_errors=True)
            os.makedirs(keep)
            for name in ("in.txt", "report.json", "out.txt"):
                src = os.path.join(d, name)
                if os.path.exists(src):
                    shutil.copy(src, keep)
            if os.path.exists(ini):
                shutil.copy(ini, keep)
            with open(os.path.join(keep, "cmdline.txt"), "w") as f:
                f.write("LANG=%s LC_ALL=%s %s\n" % (lang, lang, subprocess.list2cmdline(argv)))
                f.write("# seed %d, KeepStringLiterals=%d, lane %d\n" % (run["seed"], run["keep"], no))
            with open(os.path.join(keep, "exit.txt"), "w") as f:
                f.write("%d\n%s\n" % (p.returncode, kind))
            with open(os.path.join(keep, "stdout.txt"), "wb") as f:
                f.write(p.stdout)
            with open(os.path.join(keep, "stderr.txt"), "wb") as f:
                f.write(p.stderr)
            if debug:
                # The same run once more, with Wine's own diagnostics.
                dd = os.path.join(keep, "debug")
                os.makedirs(dd)
                if os.path.exists(ini):
                    os.remove(ini)
                if run["keep"]:
                    with open(ini, "wb") as f:
                        f.write(b"[Settings]\r\nKeepStringLiterals=1\r\n")
                argv2 = [a.replace(win(report), win(os.path.join(dd, "report.json"))) for a in argv]
                q = subprocess.run(argv2, env=dict(env, WINEDEBUG=debug), stdin=subprocess.DEVNULL, capture_output=True)
                with open(os.path.join(dd, "exit.txt"), "w") as f:
                    f.write("%d\n" % q.returncode)
                with open(os.path.join(dd, "stderr.txt"), "wb") as f:
                    f.write(q.stderr)
            with lock:
                kinds[kind] = kinds.get(kind, 0) + 1
            print("run %d (seed %d) failed: %s -> %s" % (k, run["seed"], kind, keep), flush=True)
        if done % 100 == 0:
            print("%d runs, %d failed" % (done, counter["failed"]), flush=True)

start = time.time()
threads = [threading.Thread(target=lane, args=(i,)) for i in range(lanes)]
for t in threads:
    t.start()
for t in threads:
    t.join()
elapsed = time.time() - start
lines = ["stress: %d runs in %d lanes, %.0f s, seeds %d+: %d passed, %d failed"
         % (counter["done"], lanes, elapsed, seed0, counter["passed"], counter["failed"])]
for kind, n in sorted(kinds.items()):
    lines.append("  %5d  %s" % (n, kind))
print("\n".join(lines))
with open(os.path.join(out, "summary.txt"), "a") as f:
    f.write(time.strftime("%Y-%m-%d %H:%M:%S ") + "\n".join(lines) + "\n")
sys.exit(1 if counter["failed"] else 0)
PY
}
main "$@"
