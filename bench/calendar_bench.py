#!/usr/bin/env python3
"""Measures calendar's long listings side by side with their peers, in one run,
and prints each figure and the ratios against the targets.

    python3 bench/calendar_bench.py [dynamic build [static build]]

The builds default to build/default and build/static; the dynamic one must
have its bench targets built too.
"""

import os
import subprocess
import sys
import time

RUNS = 5  # each figure is the best of these
DAYS = 100_000_000
MOST_DAYS = 2147483647
MIB = 1024 * 1024


def best_seconds(commands, typed):
    """Best wall time of each shell command, fed typed on stdin, over RUNS
    rounds. Each round runs every command once, so that a change in the
    machine's load falls on all of them alike."""
    times = {name: [] for name in commands}
    for _ in range(RUNS):
        for name, command in commands.items():
            started = time.perf_counter()
            subprocess.run(["sh", "-c", command], input=typed.encode(), check=True)
            times[name].append(time.perf_counter() - started)
    return {name: min(runs) for name, runs in times.items()}


def output_bytes(command, typed=""):
    result = subprocess.run(["sh", "-c", f"{command} | wc -c"], input=typed.encode(), capture_output=True, check=True)
    return int(result.stdout)


def peak_kib(command, typed, seconds):
    """Peak resident memory, stopping the command after seconds if need be."""
    result = subprocess.run(["/usr/bin/time", "-f", "%M", "timeout", str(seconds), "sh", "-c", command],
                            input=typed.encode(), capture_output=True)
    return int(result.stderr.decode().split()[-1])


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/default"
    static_build = sys.argv[2] if len(sys.argv) > 2 else "build/static"
    calendar = os.path.join(build, "calendar", "calendar")
    static_calendar = os.path.join(static_build, "calendar", "calendar")
    reference = os.path.join(build, "bench", "printf_calendar")
    unhardened = os.path.join(build, "bench", "unhardened_calendar")
    typed = f"{DAYS} 1\n"

    listing_bytes = output_bytes(calendar, typed)
    seq_bytes = output_bytes(f"seq 1 {DAYS - 1}")
    if output_bytes(reference, typed) + 47 != listing_bytes:  # the reference writes no prompts
        sys.exit("the printf reference does not write the same listing")
    if output_bytes(unhardened, typed) != listing_bytes:
        sys.exit("the unhardened build does not write the same listing")
    if output_bytes(static_calendar, typed) != listing_bytes:
        sys.exit("the static build does not write the same listing")

    # seq and dd leave the typed answers unread.
    figures = best_seconds({
        "calendar to /dev/null": f"{calendar} > /dev/null",
        "unhardened calendar to /dev/null": f"{unhardened} > /dev/null",
        "static calendar to /dev/null": f"{static_calendar} > /dev/null",
        "printf reference to /dev/null": f"{reference} > /dev/null",
        "seq to /dev/null": f"seq 1 {DAYS - 1} > /dev/null",
        "calendar | cat > /dev/null": f"{calendar} | cat > /dev/null",
        "dd constant buffer | cat > /dev/null":
            f"dd if=/dev/zero bs=64K count={listing_bytes} iflag=count_bytes status=none | cat > /dev/null",
    }, typed)
    print(f"{DAYS:,} days: calendar writes {listing_bytes:,} bytes, seq 1 {DAYS - 1} writes {seq_bytes:,}")
    for name, seconds in figures.items():
        print(f"  {name:40} {seconds:7.3f} s")
    memory = {days: peak_kib(f"{calendar} > /dev/null", f"{days} 1\n", 5) for days in (DAYS, MOST_DAYS)}
    for days, kib in memory.items():
        print(f"  peak memory at {days:>13,} days {kib:14,} KiB")

    calendar_rate = listing_bytes / figures["calendar to /dev/null"]
    seq_rate = seq_bytes / figures["seq to /dev/null"]
    ratios = [
        ("time against the unhardened build", figures["calendar to /dev/null"] / figures["unhardened calendar to /dev/null"], "<=", 1.15),
        ("static time against dynamic", figures["static calendar to /dev/null"] / figures["calendar to /dev/null"], "<=", 1.10),
        ("faster than the printf reference", figures["printf reference to /dev/null"] / figures["calendar to /dev/null"], ">=", 8),
        ("bytes per second against seq", calendar_rate / seq_rate, ">=", 2.5),
        ("time through a pipe against dd", figures["calendar | cat > /dev/null"] / figures["dd constant buffer | cat > /dev/null"], "<=", 3.5),
        ("largest peak memory, MiB", max(memory.values()) / 1024, "<=", 4),
    ]
    missed = 0
    print("ratios:")
    for name, value, sense, target in ratios:
        met = value >= target if sense == ">=" else value <= target
        missed += not met
        print(f"  {name:40} {value:7.2f}  target {sense} {target}  {'met' if met else 'MISSED'}")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
