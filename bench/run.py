#!/usr/bin/env python3
"""Benchmark driver: Quillsort.exe against the bare Win32 program (bench_bare),
both started and timed from outside by bench_probe under Wine, on plugin
folders written here. Run it through bench/run, which starts the Wine harness.

    python3 bench/run.py BUILD_DIR WORK_DIR [--runs N] [--only NAME,...]

Prints one table (medians of N runs, the two programs' runs interleaved) and
one line of ratios. Idle CPU is read from /proc: the program's process and the
prefix's wineserver, over 10 seconds after one window message has reached the
program and with nothing touching it.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

PLUGIN = """# Benchmark plugin {i}.

<search
   version="7.1"
   name="Bench Search {i:05d}"
   description="Bench Search {i:05d} - a generated plugin"
   method="GET"
   action="https://s{i}.example.com/find"
   searchForm="https://s{i}.example.com/"
   queryCharset="utf-8"
>

<input name="q" user>
<input name="source" value="bench">

<interpret
   browserResultType="result"
   resultListStart="<ul class=results>"
   resultListEnd="</ul>"
   resultItemStart="<li>"
   resultItemEnd="</li>"
>
</search>
"""


def write_plugins(folder, count):
    plugins = os.path.join(folder, "searchplugins")
    shutil.rmtree(plugins, ignore_errors=True)
    os.makedirs(plugins)
    for i in range(count):
        with open(os.path.join(plugins, "bench%05d.src" % i), "w", newline="\r\n") as f:
            f.write(PLUGIN.format(i=i))


def winpath(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Programs:
    def __init__(self, build):
        self.probe = os.path.join(build, "bench", "bench_probe.exe")
        self.exes = {
            "tool": (os.path.join(build, "Quillsort.exe"), "Quillsort 1.0"),
            "bare": (os.path.join(build, "bench", "bench_bare.exe"), "Bare 1.0"),
        }

    def command(self, which, mode, rows, repeat=0, hold=0):
        exe, title = self.exes[which]
        return ["wine", self.probe, mode, title, str(rows), str(repeat), str(hold), winpath(exe)]


def parse(lines):
    values = {}
    for line in lines:
        parts = line.split()
        if len(parts) == 2:
            values.setdefault(parts[0], []).append(parts[1])
    if "error" in values:
        raise RuntimeError("probe: " + " ".join(values["error"]))
    return values


def run_probe(programs, which, mode, rows, repeat=0):
    out = subprocess.run(programs.command(which, mode, rows, repeat), stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True, timeout=900, stdin=subprocess.DEVNULL)
    return parse(out.stdout.splitlines())


def ticks(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def prefix_of(pid):
    try:
        with open("/proc/%d/environ" % pid, "rb") as f:
            for item in f.read().split(b"\0"):
                if item.startswith(b"WINEPREFIX="):
                    return os.path.realpath(item[11:].decode())
    except OSError:
        pass
    return None


def find_process(name, prefix):
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % entry, "rb") as f:
                cmdline = f.read().decode(errors="replace")
        except OSError:
            continue
        if name in cmdline and "bench_probe" not in cmdline and prefix_of(int(entry)) == prefix:
            return int(entry)
    return None


def find_wineserver(prefix):
    st = os.stat(prefix)
    server_dir = "server-%x-%x" % (st.st_dev, st.st_ino)
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            if server_dir in os.readlink("/proc/%s/cwd" % entry):
                return int(entry)
        except OSError:
            continue
    return None


def idle_cpu(programs, which, rows, prefix, seconds=10):
    exe = os.path.basename(programs.exes[which][0])
    probe = subprocess.Popen(programs.command(which, "idle", rows, 0, seconds + 4), stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, text=True)
    lines = []
    for line in probe.stdout:
        lines.append(line)
        if line.strip() in ("ready", "done") or line.startswith("error"):
            break
    parse(lines)
    pid = find_process(exe, prefix)
    server = find_wineserver(prefix)
    if pid is None or server is None:
        raise RuntimeError("idle: process %s or wineserver not found" % exe)
    time.sleep(1.5)
    hz = os.sysconf("SC_CLK_TCK")
    a0, s0, t0 = ticks(pid), ticks(server), time.monotonic()
    time.sleep(seconds)
    a1, s1, t1 = ticks(pid), ticks(server), time.monotonic()
    probe.communicate(timeout=120)
    span = (t1 - t0) * hz
    return 100.0 * (a1 - a0) / span, 100.0 * (s1 - s0) / span


def median(values):
    return statistics.median(float(v) for v in values)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("work")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--only", default="")
    args = parser.parse_args()
    programs = Programs(args.build)
    browser = os.path.join(args.work, "browser", "mozilla firefox")
    prefix = os.path.realpath(os.environ["WINEPREFIX"])
    only = set(filter(None, args.only.split(",")))
    rows = []
    best = []  # ratios of the fastest runs: less shaken by other load on the machine

    def wanted(name):
        return not only or name in only

    def timed(name, label, count, mode, key, repeat=0):
        if not wanted(name):
            return None
        write_plugins(browser, count)
        got = {"tool": [], "bare": [], "tool_peak": [], "bare_peak": []}
        for _ in range(args.runs if repeat == 0 else 1):
            for which in ("tool", "bare"):
                if mode == "sort":
                    write_plugins(browser, count)
                values = run_probe(programs, which, mode, count, repeat)
                got[which] += values[key]
                got[which + "_peak"] += values.get("peak_kb", [])
        tool, bare = median(got["tool"]), median(got["bare"])
        rows.append((label, "%.0f ms" % tool, "%.0f ms" % bare, tool / bare, name))
        best.append((name, min(map(float, got["tool"])) / min(map(float, got["bare"]))))
        print("  %-40s tool %s bare %s" % (label, got["tool"], got["bare"]), file=sys.stderr, flush=True)
        return got

    timed("start0", "start, empty folder, to window on screen", 0, "start", "start_ms")
    timed("start100", "start with 100 plugins to the full list", 100, "start", "start_ms")
    got = timed("load1000", "load 1,000 plugins (start to full list)", 1000, "start", "start_ms")
    if got:
        tool, bare = median(got["tool_peak"]) / 1024, median(got["bare_peak"]) / 1024
        rows.append(("peak working set after loading 1,000", "%.1f MB" % tool, "%.1f MB" % bare, tool / bare,
                     "peak1000"))
    timed("load3000", "load 3,000 plugins", 3000, "start", "start_ms")
    timed("refresh1000", "Refresh List, 1,000 plugins", 1000, "refresh", "refresh_ms", args.runs)
    timed("refresh3000", "Refresh List, 3,000 plugins", 3000, "refresh", "refresh_ms", args.runs)
    if wanted("resort1000"):
        write_plugins(browser, 1000)
        got = {"tool": [], "bare": []}
        for _ in range(args.runs):
            for which in ("tool", "bare"):
                write_plugins(browser, 1000)
                got[which] += run_probe(programs, which, "sort", 1000, 1)["sort_ms"]
        tool, bare = median(got["tool"]), median(got["bare"])
        best.append(("resort1000", min(map(float, got["tool"])) / min(map(float, got["bare"]))))
        rows.append(("re-sort (rename method), 1,000 plugins", "%.0f ms" % tool, "%.0f ms" % bare, tool / bare,
                     "resort1000"))
        print("  re-sort tool %s bare %s" % (got["tool"], got["bare"]), file=sys.stderr, flush=True)
    if wanted("idle"):
        write_plugins(browser, 12)
        tool = idle_cpu(programs, "tool", 12, prefix)
        bare = idle_cpu(programs, "bare", 12, prefix)
        rows.append(("idle CPU, process + wineserver (% of a core)",
                     "%.1f + %.1f %%" % tool, "%.1f + %.1f %%" % bare, None, "idle"))

    print()
    print("| work | Quillsort | bare program | ratio |")
    print("|---|---|---|---|")
    for label, tool, bare, ratio, _ in rows:
        print("| %s | %s | %s | %s |" % (label, tool, bare, "%.2fx" % ratio if ratio else "-"))
    print()
    print("ratios: " + "  ".join("%s %.2fx" % (name, ratio) for _, _, _, ratio, name in rows if ratio))
    print("fastest-run ratios: " + "  ".join("%s %.2fx" % pair for pair in best))


if __name__ == "__main__":
    main()
