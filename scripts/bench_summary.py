#!/usr/bin/env python3
"""Runs every benchmark once (medians of five repetitions, zop and its peers
interleaved in one process per workload) and prints one table: zop, the best
peer, the ratio of zop's speed to that peer's, and the floor where there is
one.  With --wine, a second table gives the self-timed text conversion
(bench/text_selftimed.cpp) of the Linux build beside the Windows build run
under Wine.  Usage: bench_summary.py BENCH_BIN_DIR [--markdown FILE]
[--wine WINDOWS_TEXT_SELFTIMED_EXE]"""
import json
import os
import subprocess
import sys

BIN = sys.argv[1]
OPTIONS = dict(zip(sys.argv[2::2], sys.argv[3::2]))

# workload: (program, zop's benchmark, [peers], floor or None, unit)
WORKLOADS = [
    ("parse 1 M dates (short pattern)", "time_bench", "parse_zop", ["parse_poco", "parse_strptime"], None, "M/s"),
    ("format 1 M dates", "time_bench", "format_zop", ["format_poco", "format_strftime"], None, "M/s"),
    ("read 10 M ints (data <- buffered <- file)", "io_bench", "BM_Read_Zop", ["BM_Read_Poco", "BM_Read_Qt"],
     "BM_Read_FreadSwapped", "MB/s"),
    ("write 10 M ints", "io_bench", "BM_Write_Zop", ["BM_Write_Poco", "BM_Write_Qt"], "BM_Write_FwriteSwapped", "MB/s"),
] + [
    (f"{direction} {kind}", "text_bench", f"{prefix}/zop/{kind}", [f"{prefix}/icu/{kind}", f"{prefix}/qt/{kind}"],
     "memcpy/" + kind if prefix == "from_utf8" and kind == "ascii" else None, "GB/s")
    for prefix, direction in (("from_utf8", "UTF-8 -> UTF-16,"), ("to_utf8", "UTF-16 -> UTF-8,"))
    for kind in ("ascii", "mixed_en_zh", "emoji")
] + [
    ("list 20,000 entries", "fs_bench", "BM_List_Zop", ["BM_List_StdFilesystem"], "BM_List_Readdir", "M/s"),
]

UNITS = {"M/s": 1e6, "MB/s": 1e6, "GB/s": 1e9}


def run(program):
    # Random interleaving runs the repetitions of zop and its peers in a
    # shuffled order, so a slow phase of the shared machine hits all alike.
    out = subprocess.run([f"{BIN}/{program}", "--benchmark_repetitions=5", "--benchmark_report_aggregates_only=true",
                          "--benchmark_enable_random_interleaving=true", "--benchmark_format=json"], check=True, capture_output=True, text=True).stdout
    medians = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            medians[b["run_name"]] = b
    return Medians(medians)


class Medians(dict):
    """Benchmarks by name, also without the suffixes the library adds
    ("/real_time", "/iterations:9")."""

    def __getitem__(self, name):
        if name in self.keys():
            return dict.__getitem__(self, name)
        return next(v for k, v in self.items() if k.startswith(name + "/"))


def speed(b):
    """Items (or bytes) per second where the benchmark counts them."""
    for key in ("bytes_per_second", "items_per_second"):
        if key in b:
            return b[key]
    return 1.0 / b["real_time"]


results = {}
rows = []
for name, program, zop, peers, floor, unit in WORKLOADS:
    if program not in results:
        results[program] = run(program)
    m = results[program]
    z = speed(m[zop])
    best = max(peers, key=lambda p: speed(m[p]))
    scale = UNITS[unit]
    row = [name, f"{z / scale:.3g} {unit}", f"{best.split('/')[-2] if '/' in best else best} {speed(m[best]) / scale:.3g}",
           f"{z / speed(m[best]):.2f}", f"{speed(m[floor]) / scale:.3g} {unit}" if floor else ""]
    rows.append(row)
fs = results["fs_bench"]
tree = fs["BM_RemoveTree_Interleaved"]
rows.append(["remove_tree 20,000 files", f"{tree['zop_files_per_s'] / 1e3:.0f} k files/s",
             f"remove_all {tree['std_files_per_s'] / 1e3:.0f}", f"{1 / tree['zop_over_std_time']:.2f}", ""])



def markdown(header, rows):
    return ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)] + ["| " + " | ".join(r) + " |" for r in rows]


table = markdown(["workload", "zop", "best peer", "ratio (zop speed / peer)", "floor"], rows)


def selftimed(command):
    """Medians of the self-timed text program: case -> (GB/s of UTF-8, ns per
    unit written)."""
    out = subprocess.run(command + ["--csv"], check=True, capture_output=True, text=True).stdout
    cases = {}
    for line in out.splitlines()[1:]:
        name, utf8, units, ns = line.split(",")
        cases[name] = (int(utf8) / float(ns), float(ns) / int(units))
    return cases


if "--wine" in OPTIONS:
    wine = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cmake", "wine-run.sh")
    linux = selftimed([f"{BIN}/text_selftimed"])
    windows = selftimed(["bash", wine, OPTIONS["--wine"]])
    text_rows = []
    for name, (rate, per_unit) in linux.items():
        w_rate, w_per_unit = windows.get(name, (float("nan"), float("nan")))
        text_rows.append([name, f"{rate:.3g} GB/s", f"{per_unit:.3g} ns", f"{w_rate:.3g} GB/s", f"{w_per_unit:.3g} ns"])
    table += ["", "Text conversion, self-timed (zop alone on each instruction set, and memcpy; medians):", ""]
    table += markdown(["case", "Linux (wchar_t 4 bytes)", "ns / unit written", "Windows under Wine (2 bytes)",
                       "ns / unit written"], text_rows)

print("\n".join(table))
if "--markdown" in OPTIONS:
    with open(OPTIONS["--markdown"], "w", encoding="utf-8") as f:
        f.write("\n".join(table) + "\n")
