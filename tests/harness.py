"""What the checks share: the program under test, the one way to run it on
input prepared beforehand, and how they report on their cases. (prompts.py
talks with a program step by step instead, and so starts it its own way.)

A check is called as: check.py [--option ...] [launcher ...] program. The
launcher, if any, is the emulator that runs the program, with its options.
--windows says that the program is a Windows one: its text output ends
lines with CR LF, and its C runtime names some errors its own way."""

import os
import select
import subprocess
import sys
import tempfile
import time
from typing import NamedTuple

from dialogues import after_prompts

# ctest reports a check that exits with this status as skipped.
SKIP_STATUS = 77
# A run still going after this has hung: a program ends in milliseconds, or
# a few seconds for the longest listings that the checks read to the end.
RUN_SECONDS = 30

# For run(): a stdin or stdout that the program starts with closed, and a
# stdout into a pipe whose reader has already gone.
CLOSED = "closed"
BROKEN_PIPE = "broken pipe"


class Hung(Exception):
    """A run that did not end by itself in time; the program has been killed."""


class Result(NamedTuple):
    output: bytes
    errors: bytes
    status: int  # -N for a death by signal N


class Program:
    """The program under test, from the check's command line."""

    def __init__(self):
        rest = sys.argv[1:]
        self.options = []
        while rest and rest[0].startswith("--"):
            self.options.append(rest.pop(0))
        self.command = rest
        # calendar for .../calendar and for .../calendar.exe
        self.name = os.path.splitext(os.path.basename(rest[-1]))[0]
        self.windows = "--windows" in self.options

    def run(self, typed=b"", **how):
        return run(self.command, typed, **how)

    def line_ends(self, text):
        """text, whose lines end with LF, as the program writes it."""
        return (text.replace("\n", "\r\n") if self.windows else text).encode()

    def answer(self, output):
        """What the program wrote after its prompts, with LF line ends, and
        None; or None and why output is not that."""
        try:
            text = output.decode("ascii")
        except UnicodeDecodeError:
            return None, "output is not plain text"
        if self.windows:
            if "\n" in text.replace("\r\n", ""):
                return None, "output has a line end without CR"
            text = text.replace("\r\n", "\n")
        answer = after_prompts(self.name, text)
        return (answer, None) if answer is not None else (None, "output does not start with the prompts")

    def error_line(self, what, reason, on_windows=None):
        """The one line on stderr for a failed read or write ('read' or
        'write'); on_windows, if given, is the reason that Windows' C runtime
        gives where it differs."""
        if self.windows and on_windows:
            reason = on_windows
        return self.line_ends(f"{self.name}: {what} error: {reason}\n")

    def broken_pipe_line(self):
        """Windows' C runtime names a pipe whose reader has gone EINVAL."""
        return self.error_line("write", "Broken pipe", on_windows="Invalid argument")


def run(command, typed=b"", stdin=None, stdout=None, read_limit=None, sigpipe_default=False,
        timeout=RUN_SECONDS):
    """Runs the program; returns its stdout, stderr and status. It reads typed
    from a file, and writes into a pipe that is read to its end, or with
    read_limit that far and then closed. stdin and stdout may instead be a
    file descriptor or CLOSED, and stdout BROKEN_PIPE. SIGPIPE stays ignored,
    as Python sets it, unless sigpipe_default: a program that writes on then
    meets a closed pipe as a write error. Raises Hung when the run takes
    longer than timeout seconds."""
    deadline = time.monotonic() + timeout
    closed = [fd for fd, given in ((0, stdin), (1, stdout)) if given is CLOSED]
    reader, writer = os.pipe() if stdout is BROKEN_PIPE else (None, None)
    if reader is not None:
        os.close(reader)
    with tempfile.TemporaryFile() as typed_file, tempfile.TemporaryFile() as errors:
        typed_file.write(typed)
        typed_file.seek(0)
        process = subprocess.Popen(
            command,
            stdin=typed_file if stdin in (None, CLOSED) else stdin,
            stdout={None: subprocess.PIPE, CLOSED: subprocess.DEVNULL, BROKEN_PIPE: writer}.get(stdout, stdout),
            stderr=errors,
            restore_signals=sigpipe_default,
            preexec_fn=(lambda: [os.close(fd) for fd in closed]) if closed else None)
        if writer is not None:
            os.close(writer)
        try:
            output = b""
            if process.stdout:
                with process.stdout:
                    output = read_output(process.stdout.fileno(), read_limit, deadline)
            status = process.wait(max(0.0, deadline - time.monotonic()))
        except (Hung, subprocess.TimeoutExpired):
            process.kill()
            process.wait()
            raise Hung(f"still running after {timeout} s") from None
        errors.seek(0)
        return Result(output, errors.read(), status)


def read_output(fd, limit, deadline):
    """Reads fd to its end, or limit bytes of it; raises Hung at deadline."""
    output = bytearray()
    while limit is None or len(output) < limit:
        if not select.select([fd], [], [], max(0.0, deadline - time.monotonic()))[0]:
            raise Hung
        wanted = 1 << 16 if limit is None else min(1 << 16, limit - len(output))
        chunk = os.read(fd, wanted)
        if not chunk:
            break
        output += chunk
    return bytes(output)


def ending_problems(result, status=0, errors=b""):
    """What is wrong with how a run ended: its status and its stderr."""
    problems = []
    if result.status != status:
        problems.append(f"status {result.status}, not {status}")
    if result.errors != errors:
        problems.append(f"stderr {result.errors[:200]!r}, not {errors!r}")
    return problems


def report(program, complaints, not_run=0):
    """Prints each complaint (None for a case that passed) and a summary line,
    and returns the check's exit status. A check that ran no case fails."""
    failed = [complaint for complaint in complaints if complaint]
    for complaint in failed:
        print(f"FAIL {program.name} {complaint}")
    summary = f"{program.name}: {len(complaints) - len(failed)} passed, {len(failed)} failed"
    print(summary + (f", {not_run} not run after a hang" if not_run else ""))
    return 1 if failed or not complaints else 0


def need_terminal():
    """Skips the check, saying why, where no pseudo-terminal can be opened."""
    try:
        controller, terminal = os.openpty()
    except OSError as error:
        print(f"skipped: no pseudo-terminal can be opened ({error})")
        sys.exit(SKIP_STATUS)
    os.close(controller)
    os.close(terminal)
