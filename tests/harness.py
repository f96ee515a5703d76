"""How a check starts the program under test and reports on its cases.

A check is called as: check.py [--option ...] [launcher ...] program. The
launcher, if any, is the emulator that runs the program, with its options."""

import os
import subprocess
import sys
import tempfile

# ctest reports a check that exits with this status as skipped.
SKIP_STATUS = 77


def arguments():
    """The check's options and the command that starts the program."""
    options = []
    rest = sys.argv[1:]
    while rest and rest[0].startswith("--"):
        options.append(rest.pop(0))
    return options, rest


def program_name(command):
    """calendar for .../calendar and for .../calendar.exe."""
    return os.path.splitext(os.path.basename(command[-1]))[0]


def report(program, complaints):
    """Prints each complaint (None for a case that passed) and a summary line,
    and returns the check's exit status. A check that ran no case fails."""
    failed = [complaint for complaint in complaints if complaint]
    for complaint in failed:
        print(f"FAIL {program} {complaint}")
    print(f"{program}: {len(complaints) - len(failed)} passed, {len(failed)} failed")
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


def run(command, typed, read_limit=None, timeout=60):
    """Runs the program on typed input; returns its stdout, stderr and status.
    With read_limit, the output is read that far and the pipe then closed.
    SIGPIPE stays ignored, as Python sets it, so a program that writes on
    meets the closed pipe as a write error and ends by itself."""
    with tempfile.TemporaryFile() as stdin, tempfile.TemporaryFile() as stderr:
        stdin.write(typed)
        stdin.seek(0)
        process = subprocess.Popen(command, stdin=stdin, stdout=subprocess.PIPE, stderr=stderr,
                                   restore_signals=False)
        output = process.stdout.read(read_limit) if read_limit else process.stdout.read()
        process.stdout.close()
        try:
            status = process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            status = f"none: still running after {timeout} s"
            process.wait()
        stderr.seek(0)
        return output, stderr.read(), status
