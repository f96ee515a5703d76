#!/usr/bin/env python3
"""Measures calendar's long listings side by side with their peers, in one run,
and prints each figure and the ratios against the targets.

    python3 bench/calendar_bench.py [build directory, default build/default]
"""

import os
import subprocess
import sys
import time

RUNS = 5  # each figure is the best of these
DAYS = 100_000_000
MOST_DAYS = 2147483647
MIB = 1024 * 1024


def best_seconds(command, typed=""):
    """Best wall time of RUNS runs of a shell command fed typed on stdin."""
    times = []
    for _ in range(RUNS):
        started = time.perf_counter()
        subprocess.run(["sh", "-c", command], input=typed.encode(), check=True)
        times.append(time.perf_counter() - started)
    return min(times)


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
    calendar = os.path.join(build, "calendar", "calendar")
    reference = os.path.join(build, "bench", "printf_calendar")
    unhardened = os.path.join(build, "bench", "unhardened_calendar")
    typed = f"{DAYS} 1\n"

    listing_bytes = output_bytes(calendar, typed)
    seq_bytes = output_bytes(f"seq 1 {DAYS - 1}")
    if output_bytes(reference, typed) + 47 != listing_bytes:  # the reference writes no prompts
        sys.exit("the printf reference does not write the same listing")
    if output_bytes(unhardened, typed) != listing_bytes:
        sys.exit("the unhardened build does not write the same listing")

    figures = {
        "calendar to /dev/null": best_seconds(f"{calendar} > /dev/null", typed),
        "unhardened calendar to /dev/null": best_seconds(f"{unhardened} > /dev/null", typed),
        "printf reference to /dev/null": best_seconds(f"{reference} > /dev/null", typed),
        "seq to /dev/null": best_seconds(f"seq 1 {DAYS - 1} > /dev/null"),
        "calendar | cat > /dev/null": best_seconds(f"{calendar} | cat > /dev/null", typed),
        "dd constant buffer | cat > /dev/null": best_seconds(
            f"dd if=/dev/zero bs=64K count={listing_bytes} iflag=count_bytes status=none | cat > /dev/null"),
    }
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
