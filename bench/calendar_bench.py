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

# calendar's prompts, from its test table; no __pycache__ is left there.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from cases.calendar import DIALOGUE  # noqa: E402

RUNS = 5  # each figure is the best of these
DAYS = 100_000_000
MOST_DAYS = 2147483647
MIB = 1024 * 1024


def run_into(command, typed, sink):
    """Runs command, an argument list, fed typed on stdin. sink is
    "/dev/null", or "cat" for a pipe into cat, which writes to /dev/null."""
    with open(os.devnull, "wb") as null:
        if sink == "/dev/null":
            subprocess.run(command, input=typed.encode(), stdout=null, check=True)
            return
        cat = subprocess.Popen(["cat"], stdin=subprocess.PIPE, stdout=null)
        subprocess.run(command, input=typed.encode(), stdout=cat.stdin, check=True)
        cat.stdin.close()
        if cat.wait() != 0:
            sys.exit("cat failed")


def best_seconds(commands, typed):
    """Best wall time of each (command, sink) over RUNS rounds. Each round runs
    every command once, so that a change in the machine's load falls on all
    of them alike."""
    times = {name: [] for name in commands}
    for _ in range(RUNS):
        for name, (command, sink) in commands.items():
            started = time.perf_counter()
            run_into(command, typed, sink)
            times[name].append(time.perf_counter() - started)
    return {name: min(runs) for name, runs in times.items()}


def output_bytes(command, typed=""):
    """The length of command's output, counted as it streams past."""
    with subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE) as process:
        process.stdin.write(typed.encode())
        process.stdin.close()
        count = 0
        while chunk := process.stdout.read(1 << 20):
            count += len(chunk)
    if process.returncode != 0:
        sys.exit(f"{command[0]} failed")
    return count


def peak_kib(command, typed, seconds):
    """Peak resident memory, stopping the command after seconds if need be."""
    with open(os.devnull, "wb") as null:
        result = subprocess.run(["/usr/bin/time", "-f", "%M", "timeout", str(seconds), *command],
                                input=typed.encode(), stdout=null, stderr=subprocess.PIPE)
    return int(result.stderr.decode().split()[-1])


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/default"
    static_build = sys.argv[2] if len(sys.argv) > 2 else "build/static"
    calendar = os.path.join(build, "calendar", "calendar")
    static_calendar = os.path.join(static_build, "calendar", "calendar")
    reference = os.path.join(build, "bench", "printf_calendar")
    unhardened = os.path.join(build, "bench", "unhardened_calendar")
    typed = f"{DAYS} 1\n"

    listing_bytes = output_bytes([calendar], typed)
    seq = ["seq", "1", str(DAYS - 1)]
    seq_bytes = output_bytes(seq)
    if output_bytes([reference], typed) + len("".join(prompt for prompt, _ in DIALOGUE)) != listing_bytes:
        sys.exit("the printf reference, which writes no prompts, does not write the same listing")
    if output_bytes([unhardened], typed) != listing_bytes:
        sys.exit("the unhardened build does not write the same listing")
    if output_bytes([static_calendar], typed) != listing_bytes:
        sys.exit("the static build does not write the same listing")

    # seq and dd leave the typed answers unread.
    dd = ["dd", "if=/dev/zero", "bs=64K", f"count={listing_bytes}", "iflag=count_bytes", "status=none"]
    figures = best_seconds({
        "calendar to /dev/null": ([calendar], "/dev/null"),
        "unhardened calendar to /dev/null": ([unhardened], "/dev/null"),
        "static calendar to /dev/null": ([static_calendar], "/dev/null"),
        "printf reference to /dev/null": ([reference], "/dev/null"),
        "seq to /dev/null": (seq, "/dev/null"),
        "calendar | cat > /dev/null": ([calendar], "cat"),
        "dd constant buffer | cat > /dev/null": (dd, "cat"),
    }, typed)
    print(f"{DAYS:,} days: calendar writes {listing_bytes:,} bytes, seq 1 {DAYS - 1} writes {seq_bytes:,}")
    for name, seconds in figures.items():
        print(f"  {name:40} {seconds:7.3f} s")
    memory = {days: peak_kib([calendar], f"{days} 1\n", 5) for days in (DAYS, MOST_DAYS)}
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
