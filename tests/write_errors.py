"""When standard output cannot be written, a program must stop at once, say
"<program>: write error: <reason>" on stderr and exit with status 1."""

import os
import signal
import subprocess
import sys
import time

from dialogues import program_name, report

TYPICAL_ANSWER = {
    "calendar": b"8 2\n",
    "lettergrade": b"85\n",
    "clock12": b"15:40\n",
    "digitcount": b"42\n",
    "evensquares": b"50\n",
    "evensum": b"",
}
# Answers that make a program write far more than a pipe holds.
LONG_ANSWER = {
    "calendar": b"2147483647 1\n",
    "evensquares": b"2147483647\n",
}


def to_dev_full(path, typed):
    with open("/dev/full", "wb") as full:
        return subprocess.run([path], input=typed, stdout=full, stderr=subprocess.PIPE, timeout=10)


def to_closed_stdout(path, typed):
    return subprocess.run([path], input=typed, stderr=subprocess.PIPE, preexec_fn=lambda: os.close(1), timeout=10)


def to_pipe(path, typed, sigpipe_ignored, read_first=0):
    """Runs with stdout into a pipe whose reader takes read_first bytes, then
    leaves; with read_first 0 the reader is gone before the program starts."""
    reader, writer = os.pipe()
    if not read_first:
        os.close(reader)
    # Python ignores SIGPIPE itself; restore_signals=False passes that on.
    process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=writer, stderr=subprocess.PIPE,
                               restore_signals=not sigpipe_ignored)
    os.close(writer)
    try:
        process.stdin.write(typed)
        process.stdin.close()
    except BrokenPipeError:  # the program may have stopped before reading
        pass
    if read_first:
        with open(reader, "rb") as pipe_out:
            pipe_out.read(read_first)
    errors = process.stderr.read()
    return subprocess.CompletedProcess(process.args, process.wait(timeout=10), stderr=errors)


def main():
    path = sys.argv[1]
    program = program_name(path)
    typed = TYPICAL_ANSWER[program]

    def error_line(reason):
        return f"{program}: write error: {reason}\n".encode()

    # Each case: what is done, the expected status, the expected stderr.
    cases = [
        ("to /dev/full", lambda: to_dev_full(path, typed), 1, error_line("No space left on device")),
        ("to a closed stdout", lambda: to_closed_stdout(path, typed), 1, error_line("Bad file descriptor")),
        ("to a broken pipe, SIGPIPE ignored", lambda: to_pipe(path, typed, True), 1, error_line("Broken pipe")),
        ("to a broken pipe, SIGPIPE default", lambda: to_pipe(path, typed, False), -signal.SIGPIPE, b""),
    ]
    if program in LONG_ANSWER:
        long_typed = LONG_ANSWER[program]
        cases += [
            ("long output to /dev/full", lambda: to_dev_full(path, long_typed), 1, error_line("No space left on device")),
            ("long output to a pipe closed midway, SIGPIPE ignored",
             lambda: to_pipe(path, long_typed, True, read_first=1000), 1, error_line("Broken pipe")),
        ]

    def complaint(name, action, status, errors):
        started = time.monotonic()
        result = action()
        seconds = time.monotonic() - started
        problems = []
        if result.returncode != status:
            problems.append(f"status {result.returncode}, not {status}")
        if result.stderr != errors:
            problems.append(f"stderr {result.stderr!r}, not {errors!r}")
        # Stopping at once: no listing is written on after the first failure.
        if seconds > 1:
            problems.append(f"took {seconds:.1f} s")
        return problems and f"{name}: " + "; ".join(problems)

    return report(program, [complaint(*case) for case in cases])


if __name__ == "__main__":
    sys.exit(main())
