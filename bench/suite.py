#!/usr/bin/env python3
"""Runs every benchmark of a Release tree and the programs side by side, and writes bench/results.md.

Called by bench/run after the build: suite.py BUILD_DIR OUTPUT.md. Each benchmark runs in a process of its own
(its peak resident memory is that process's, workload set-up included); each whole program runs REPEAT times.
"""

import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

REPEAT = int(os.environ.get("QV_BENCH_REPEAT", "5"))
MIN_TIME = os.environ.get("QV_BENCH_MIN_TIME", "0.3")
MARKER_BYTES = 8_000_000
USB2_MB_S = 40.0
CHUNK = 400

# Stages with a target: (row label, benchmark name pattern, target in ms or None, peak memory target in MB or None).
STAGES = [
    ("HP-GL read: Load + BuildPages, 8,000,000-byte marker", r"BM_LoadAndBuildPages8MB$", None, None),
    ("Floor: plain tokenizer, same file", r"BM_PlainTokenizer8MB$", None, None),
    ("Floor of the import: plain tokenizer + the drawing's task file written (write, fsync, rename)",
     r"BM_ImportFloor8MB$", None, None),
    ("Intake: read, clean-up, outline recognition, 1500 mm paging", r"BM_Intake8MB$", 150, 80),
    ("Task file save, 1 000 000 points", r"BM_SaveTaskFile$", 60, None),
    ("Task file open, 1 000 000 points", r"BM_OpenTaskFile$", 60, None),
    ("Job preparation, dense page", r"BM_PrepareJobPage$", None, None),
    ("Knife data, dense page (build + encode)", r"BM_BuildAndEncodeKnifeData/0$", None, None),
    ("Preparation + all bands + knife data, dense page, \"HP45\"", r"BM_DenseJobData/cartridge:0$", 250, None),
    ("Preparation + all bands + knife data, dense page, \"IUT308\"", r"BM_DenseJobData/cartridge:1$", 250, None),
    ("Raster: prepare + all bands, marker, \"HP45\"", r"BM_RasterMarker/0$", None, None),
    ("Raster: prepare + all bands, marker, \"IUT308\"", r"BM_RasterMarker/1$", None, None),
    ("Cairo A1: the same polylines, one page image", r"BM_CairoA1Marker$", None, None),
    ("Whole dense job to the virtual machine, loopback TCP", r"BM_DenseJobOverTcp$", None, None),
    ("Bulk transfer of the dense job alone, loopback TCP", r"BM_DenseJobBulkOverTcp$", None, None),
    ("One acknowledged exchange (round-trip), loopback TCP", r"BM_StatusRoundTrip$", None, None),
    ("Drawing view repaint, dense page (200 000 plot and 100 000 cut points)", r"BM_Repaint\w*/0$", 20, None),
    ("Start-up to a shown window, 1 000 000-point list", r"BM_\w*Start[Uu]p\w*(/iterations:\d+)?$", 1000, 300),
]


def sh(*args):
    return subprocess.run(args, capture_output=True, text=True, check=False).stdout.strip()


def machine():
    model = "unknown"
    with open("/proc/cpuinfo", encoding="ascii", errors="replace") as f:
        for line in f:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    with open("/proc/loadavg", encoding="ascii") as f:
        load = " ".join(f.read().split()[:3])
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    commit = sh("git", "-C", root, "rev-parse", "--short=12", "HEAD") or "unknown"
    if sh("git", "-C", root, "status", "--porcelain", "--untracked-files=no"):
        commit += " (with uncommitted changes)"
    return {"cpu": model, "cores": os.cpu_count(), "load": load, "commit": commit,
            "date": time.strftime("%Y-%m-%d %H:%M UTC", time.gmtime())}


def timed_process(args):
    """Wall seconds and peak resident MB of one run of a program; raises when it fails."""
    with tempfile.TemporaryFile() as err:  # a file, not a pipe: a talkative program cannot stall on it
        start = time.perf_counter()
        proc = subprocess.Popen(args, stdout=subprocess.DEVNULL, stderr=err)
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - start
        proc.returncode = os.waitstatus_to_exitcode(status)
        if proc.returncode != 0:
            err.seek(0)
            message = err.read().decode(errors="replace").strip()
            raise RuntimeError(f"{args[0]} failed ({proc.returncode}): {message}")
    return wall, usage.ru_maxrss / 1024.0


def run_benchmarks(bench_dir):
    """{benchmark name: {"real": [ms...], "cpu": [ms...], "rss": MB, "counters": {...}}}"""
    results = {}
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}
    for exe in sorted(os.listdir(bench_dir)):
        path = os.path.join(bench_dir, exe)
        if not exe.startswith("bench_") or not os.access(path, os.X_OK) or os.path.isdir(path):
            continue
        names = sh(path, "--benchmark_list_tests=true").splitlines()
        for name in names:
            with tempfile.NamedTemporaryFile(suffix=".json") as out:
                args = [path, f"--benchmark_filter=^{re.escape(name)}$", f"--benchmark_repetitions={REPEAT}",
                        f"--benchmark_min_time={MIN_TIME}", f"--benchmark_out={out.name}",
                        "--benchmark_out_format=json"]
                print(f"  {exe} {name}", flush=True)
                try:
                    _, rss = timed_process(args)
                except RuntimeError as e:
                    print(f"    {e}", flush=True)
                    continue
                with open(out.name, encoding="utf-8") as f:
                    report = json.load(f)
            entry = {"real": [], "cpu": [], "rss": rss, "counters": {}, "exe": exe}
            for b in report["benchmarks"]:
                if b.get("run_type") != "iteration" or b.get("error_occurred"):
                    continue
                unit = scale[b.get("time_unit", "ns")]
                entry["real"].append(b["real_time"] * unit)
                entry["cpu"].append(b["cpu_time"] * unit)
                for key, value in b.items():
                    if isinstance(value, (int, float)) and key not in (
                            "real_time", "cpu_time", "iterations", "repetitions", "repetition_index", "threads",
                            "family_index", "per_family_instance_index"):
                        entry["counters"].setdefault(key, []).append(value)
            if entry["real"]:
                results[re.sub(r"/(real|manual)_time$", "", name)] = entry
    return results


def run_programs(build, tmp):
    """The whole import and hp2xx on the same 8,000,000-byte marker, REPEAT times each."""
    marker = os.path.join(tmp, "marker.plt")
    gen = os.path.join(build, "tools", "gen", "quorvane-gen-plt")
    subprocess.run([gen, "-o", marker, "--bytes", str(MARKER_BYTES), "--pages", "4"], check=True)
    settings = os.path.join(tmp, "settings")
    os.makedirs(settings, exist_ok=True)
    cli = os.path.join(build, "tools", "cli", "quorvane-cli")
    programs = {
        "import": [cli, "import", marker, "-o", os.path.join(tmp, "out.ctask"), "--settings", settings],
        "hp2xx": ["hp2xx", "-q", "-m", "pbm", "-f", os.path.join(tmp, "out.pbm"), marker],
    }
    runs = {}
    for label, args in programs.items():
        if not shutil.which(args[0]):
            print(f"  {label}: {args[0]} not found", flush=True)
            continue
        timed_process(args)  # the file in the page cache, the program loaded
        walls, peaks = [], []
        for _ in range(REPEAT):
            wall, rss = timed_process(args)
            walls.append(wall * 1e3)
            peaks.append(rss)
        runs[label] = {"real": walls, "cpu": [], "rss": max(peaks), "counters": {}}
        print(f"  {label}: {statistics.median(walls):.1f} ms", flush=True)
    return runs


def median(entry):
    return statistics.median(entry["real"])


def fmt_ms(v):
    return f"{v:.3f}" if v < 1 else f"{v:.1f}" if v < 100 else f"{v:.0f}"


def row(label, entry, target_ms=None, target_mb=None, pending=None):
    if entry is None:
        return f"| {label} | — | — | — | — | {target_text(target_ms, target_mb)} | {pending or 'not measured'} |"
    m = median(entry)
    spread = f"{fmt_ms(min(entry['real']))}–{fmt_ms(max(entry['real']))}"
    cpu = fmt_ms(statistics.median(entry["cpu"])) if entry["cpu"] else "—"
    verdict = "—"
    if target_ms is not None or target_mb is not None:
        ok = (target_ms is None or m < target_ms) and (target_mb is None or entry["rss"] < target_mb)
        verdict = "met" if ok else "missed"
    return (f"| {label} | {fmt_ms(m)} | {spread} | {cpu} | {entry['rss']:.0f} | {target_text(target_ms, target_mb)} "
            f"| {verdict} |")


def target_text(ms, mb):
    parts = []
    if ms is not None:
        parts.append(f"< {ms} ms")
    if mb is not None:
        parts.append(f"< {mb} MB")
    return ", ".join(parts) or "—"


def find(results, pattern):
    for name, entry in results.items():
        if re.search(pattern, name):
            return name, entry
    return None, None


def counter(entry, key):
    values = entry["counters"].get(key) if entry else None
    return statistics.median(values) if values else None


def ratio_row(label, value, goal, better_low=True):
    if value is None:
        return f"| {label} | — | {goal or '—'} | not measured |"
    if goal is None:
        return f"| {label} | {value:.2f} | — | — |"
    limit = float(goal.split()[-1].rstrip("×"))
    ok = value <= limit if better_low else value >= limit
    return f"| {label} | {value:.2f}× | {goal} | {'met' if ok else 'missed'} |"


def main():
    build, output = sys.argv[1], sys.argv[2]
    info = machine()
    print(f"machine: {info['cpu']}, {info['cores']} cores, load {info['load']}", flush=True)
    results = run_benchmarks(os.path.join(build, "bench"))
    with tempfile.TemporaryDirectory(prefix="quorvane-bench-") as tmp:
        programs = run_programs(build, tmp)
    with open("/proc/loadavg", encoding="ascii") as f:
        load_end = " ".join(f.read().split()[:3])

    lines = [
        "# Benchmark results",
        "",
        "Written by `bench/run`; do not edit by hand.",
        "",
        f"- Machine: {info['cpu']}, {info['cores']} cores",
        f"- Load average (1, 5, 15 min): {info['load']} at the start, {load_end} at the end",
        f"- Commit: {info['commit']}",
        f"- Run: {info['date']}, Release build, {REPEAT} repetitions of each benchmark and each program",
        "",
        "Median and spread (min–max over the repetitions) are wall time in milliseconds; CPU is the median "
        "processor time of the benchmarking thread. Peak memory is the peak resident size of the process that ran "
        "the stage, its workload's generation included.",
        "",
        "## Stages",
        "",
        "| Stage | Median ms | Spread ms | CPU ms | Peak MB | Target | Verdict |",
        "|---|---|---|---|---|---|---|",
    ]
    for label, pattern, target_ms, target_mb in STAGES:
        _, entry = find(results, pattern)
        lines.append(row(label, entry, target_ms, target_mb, "pending: no such benchmark in this build"))

    lines += ["", "## Whole programs, the same 8,000,000-byte marker", "",
              "| Program | Median ms | Spread ms | CPU ms | Peak MB | Target | Verdict |", "|---|---|---|---|---|---|---|"]
    lines.append(row("`quorvane-cli import` (start, read, clean-up, paging, task file written)",
                     programs.get("import"), None, 80))
    lines.append(row("`hp2xx -q -m pbm`", programs.get("hp2xx")))

    _, floor = find(results, r"BM_PlainTokenizer8MB$")
    _, import_floor = find(results, r"BM_ImportFloor8MB$")
    _, reader = find(results, r"BM_LoadAndBuildPages8MB$")
    _, raster = find(results, r"BM_RasterMarker/0$")
    _, cairo = find(results, r"BM_CairoA1Marker$")
    imp, hp = programs.get("import"), programs.get("hp2xx")
    lines += ["", "## Side by side", "", "| Comparison | Ratio | Goal | Verdict |", "|---|---|---|---|"]
    lines.append(ratio_row("hp2xx time / `quorvane-cli import` time",
                           median(hp) / median(imp) if hp and imp else None, "≥ 4×", better_low=False))
    lines.append(ratio_row("Load + BuildPages / floor", median(reader) / median(floor) if reader and floor else None,
                           "≤ 1.3×"))
    lines.append(ratio_row("Whole import process / floor", median(imp) / median(floor) if imp and floor else None,
                           "≤ 2×"))
    lines.append(ratio_row("Whole import process / floor of the import (the task file written too)",
                           median(imp) / median(import_floor) if imp and import_floor else None, None))
    lines.append(ratio_row("Raster engine (\"HP45\", all bands) / Cairo A1",
                           median(raster) / median(cairo) if raster and cairo else None, None))

    _, bulk = find(results, r"BM_DenseJobBulkOverTcp$")
    _, big = find(results, r"BM_EthernetBulk/7340031$")
    _, rtt = find(results, r"BM_StatusRoundTrip$")
    lines += ["", "## Bulk transfer against the wire", "", "| Transfer | MB/s |", "|---|---|"]
    for label, entry in (("Dense job data, loopback TCP", bulk), ("7 MiB of job data, loopback TCP", big)):
        rate = counter(entry, "bytes_per_second")
        lines.append(f"| {label} | {rate / 1e6:.1f} |" if rate else f"| {label} | not measured |")
    if rtt:
        lines.append(f"| Protocol bound: {CHUNK} bytes per acknowledged round-trip ({median(rtt) * 1e3:.0f} µs) "
                     f"| {CHUNK / (median(rtt) * 1e-3) / 1e6:.1f} |")
    else:
        lines.append("| Protocol bound: 400 bytes per acknowledged round-trip | not measured |")
    lines.append(f"| USB 2.0 high-speed bulk, in practice | {USB2_MB_S:.0f} |")

    lines += ["", "## Every benchmark", "", "| Benchmark | Median ms | Spread ms | CPU ms | Peak MB |",
              "|---|---|---|---|---|"]
    for name, entry in results.items():
        lines.append(f"| {entry['exe']} {name} | {fmt_ms(median(entry))} | {fmt_ms(min(entry['real']))}–"
                     f"{fmt_ms(max(entry['real']))} | {fmt_ms(statistics.median(entry['cpu']))} | {entry['rss']:.0f} |")
    with open(output, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    print(f"wrote {output}")


if __name__ == "__main__":
    main()
