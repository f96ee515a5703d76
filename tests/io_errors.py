"""When standard output cannot be written, or standard input cannot be read,
a program must stop at once, say "<program>: write error: <reason>" or
"<program>: read error: <reason>" on stderr and exit with status 1. A read
error leaves only the prompts written so far; evensum reads nothing and
is not affected."""

import os
import signal
import subprocess
import sys
import time

from dialogues import PROMPTS, program_name, report

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


def from_closed_stdin(path):
    return subprocess.run([path], stdin=subprocess.DEVNULL, capture_output=True,
                          preexec_fn=lambda: os.close(0), timeout=10)


def from_directory(path):
    directory = os.open("/", os.O_RDONLY)
    try:
        return subprocess.run([path], stdin=directory, capture_output=True, timeout=10)
    finally:
        os.close(directory)


def on_hung_up_terminal(path):
    """Linux reads a hung-up terminal as the end of input; the prompt or the
    result written to it is what fails."""
    controller, terminal = os.openpty()
    os.close(controller)
    try:
        return subprocess.run([path], stdin=terminal, stdout=terminal, stderr=subprocess.PIPE, timeout=10)
    finally:
        os.close(terminal)


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

    def error_line(reason, what="write"):
        return f"{program}: {what} error: {reason}\n".encode()

    def read_error(reason):
        """Status, stderr and stdout: only the first prompt is written."""
        if program == "evensum":  # it reads nothing, so it never meets the error
            return 0, b"", b"20\n"
        return 1, error_line(reason, "read"), PROMPTS[program][0].encode()

    # Each case: what is done, the expected status, the expected stderr and,
    # where given, the expected stdout.
    cases = [
        ("to /dev/full", lambda: to_dev_full(path, typed), 1, error_line("No space left on device")),
        ("to a closed stdout", lambda: to_closed_stdout(path, typed), 1, error_line("Bad file descriptor")),
        ("to a broken pipe, SIGPIPE ignored", lambda: to_pipe(path, typed, True), 1, error_line("Broken pipe")),
        ("on a hung-up terminal", lambda: on_hung_up_terminal(path), 1, error_line("Input/output error")),
        ("to a broken pipe, SIGPIPE default", lambda: to_pipe(path, typed, False), -signal.SIGPIPE, b""),
        ("from a closed stdin", lambda: from_closed_stdin(path), *read_error("Bad file descriptor")),
        ("from a directory", lambda: from_directory(path), *read_error("Is a directory")),
    ]
    if program in LONG_ANSWER:
        long_typed = LONG_ANSWER[program]
        cases += [
            ("long output to /dev/full", lambda: to_dev_full(path, long_typed), 1, error_line("No space left on device")),
            ("long output to a pipe closed midway, SIGPIPE ignored",
             lambda: to_pipe(path, long_typed, True, read_first=1000), 1, error_line("Broken pipe")),
        ]

    def complaint(name, action, status, errors, output=None):
        started = time.monotonic()
        result = action()
        seconds = time.monotonic() - started
        problems = []
        if result.returncode != status:
            problems.append(f"status {result.returncode}, not {status}")
        if result.stderr != errors:
            problems.append(f"stderr {result.stderr!r}, not {errors!r}")
        if output is not None and result.stdout != output:
            problems.append(f"stdout {result.stdout!r}, not {output!r}")
        # Stopping at once: no listing is written on after the first failure.
        if seconds > 1:
            problems.append(f"took {seconds:.1f} s")
        return problems and f"{name}: " + "; ".join(problems)

    return report(program, [complaint(*case) for case in cases])


if __name__ == "__main__":
    sys.exit(main())
