#!/usr/bin/env python3
"""Turns the benchmark's samples (metric, pass, value) into one markdown table.

Every ratio is taken pass by pass (A and B of the same pass ran side by side)
and then summarised; medians and ranges of the plain timings are given too.
"""
import argparse
import statistics
import sys
from collections import defaultdict

# Row: label, A metric, B metric (None: no ratio), target on the ratio.
PAIRED = [
    ("Installation, {n} files: setup.exe -s / raw copy", "install", "rawcopy", 1.10),
    ("Re-installation, {n} files: setup.exe -s / raw copy over", "reinstall", "rawrecopy", 1.25),
    ("Upgrade (every file changed), {n} files: setup.exe -s / raw copy over", "upgrade", "rawupgrade", 1.25),
    ("Upgrade (every file changed), {n} files: setup.exe -s / raw safe replace", "upgrade", "rawsafeupgrade", 1.10),
    ("Uninstall work, {n} files / raw delete", "uninstall", "rawdelete", 1.10),
    ("Installation, {n} files: setup.exe -s / peer (NSIS CopyFiles)", "install", "peerinstall", 1.0),
    ("Uninstall work, {n} files / peer uninstaller", "uninstall", "peeruninstall", 1.0),
    ("Installation, {n} files: setup.exe -s / MSI peer (msiexec /qn /i)", "install", "msiinstall", 1.0),
    ("Uninstall work, {n} files / MSI peer (msiexec /qn /x)", "uninstall", "msiuninstall", 1.0),
    ("Installation, {n} files: setup.exe -s -log / setup.exe -s", "loginstall", "install", 1.05),
]


def summary(values, digits=0):
    fmt = f"{{:.{digits}f}}"
    return f"{fmt.format(statistics.median(values))} ({fmt.format(min(values))}–{fmt.format(max(values))})"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("samples")
    parser.add_argument("--runs", type=int, required=True)
    parser.add_argument("--load", default="")
    parser.add_argument("--peer", default="1")
    parser.add_argument("--msi", default="1")
    args = parser.parse_args()

    data = defaultdict(dict)
    with open(args.samples) as f:
        for line in f:
            metric, run, value = line.rstrip("\n").split("\t")
            data[metric][int(run)] = float(value)

    sizes = sorted({int(m.split("_")[1]) for m in data if m.startswith("install_")})
    out = []
    out.append(f"Medians of {args.runs} timed passes after a warm-up pass, min–max in brackets; "
               f"ratios are taken pass by pass. Load average at the end: {args.load}.")
    out.append("")
    out.append("| Measurement | A ms | B ms | A/B | Target | Met |")
    out.append("|---|---|---|---|---|---|")
    for n in sizes:
        for label, a, b, target in PAIRED:
            ra, rb = data.get(f"{a}_{n}", {}), data.get(f"{b}_{n}", {})
            passes = sorted(set(ra) & set(rb))
            if not passes:
                continue
            ratios = [ra[p] / rb[p] for p in passes]
            met = "yes" if statistics.median(ratios) <= target else "no"
            out.append(f"| {label.format(n=n)} | {summary([ra[p] for p in passes])} | "
                       f"{summary([rb[p] for p in passes])} | {summary(ratios, 2)} | ≤ {target:.2f} | {met} |")

    out.append("")
    out.append("| Scaling | per unit µs (median) | vs smallest |")
    out.append("|---|---|---|")
    for kind, label in (("install", "setup.exe -s per file"), ("rawcopy", "raw copy per file"),
                        ("uninstall", "uninstall work per file"), ("rawdelete", "raw delete per file")):
        first = None
        for n in sizes:
            values = data.get(f"{kind}_{n}")
            if not values:
                continue
            per = statistics.median(values.values()) * 1000 / n
            first = first or per
            out.append(f"| {label}, {n} files | {per:.0f} | {per / first:.2f}× |")
    lines = sorted(int(m.split("_")[1]) for m in data if m.startswith("replay_"))
    first = None
    for n in lines:
        per = statistics.median(data[f"replay_{n}"].values()) * 1000 / n
        first = first or per
        out.append(f"| log replay per line, {n} lines | {per:.1f} | {per / first:.2f}× |")

    out.append("")
    out.append("| Start-up and size | Value | Target | Met |")
    out.append("|---|---|---|---|")
    if "wizard" in data:
        wizard = list(data["wizard"].values())
        met = "yes" if statistics.median(wizard) <= 300 else "no"
        out.append(f"| setup.exe start to wizard frame visible, ms | {summary(wizard)} | ≤ 300 | {met} |")
    if "noop" in data:
        out.append(f"| OrvUnInst.exe, question declined, start to end, ms | {summary(list(data['noop'].values()))} | | |")
    if "ask_only" in data and "noop" in data:
        passes = sorted(set(data["noop"]) & set(data["ask_only"]))
        ratios = [data["noop"][p] / data["ask_only"][p] for p in passes]
        out.append(f"| a program that only asks the same Yes/No and ends, ms | "
                   f"{summary(list(data['ask_only'].values()))} | | |")
        out.append(f"| declined uninstallation / that program, ratio | {summary(ratios, 2)} | | |")
    if "trivial" in data:
        out.append(f"| a trivial static program, start to end, ms | {summary(list(data['trivial'].values()))} | | |")
    if "setup_size" in data:
        size = int(data["setup_size"][1])
        met = "yes" if size <= 400 * 1024 else "no"  # a guard against growth, not a target
        out.append(f"| setup.exe size | {size} bytes ({size / 1024:.0f} KB) | ≤ 400 KB (guard) | {met} |")
    if args.peer != "1":
        out.append("")
        out.append("No NSIS peer in this run (makensis not installed).")
    if args.msi != "1":
        out.append("")
        out.append("No MSI peer in this run (wixl not installed).")
    print("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
