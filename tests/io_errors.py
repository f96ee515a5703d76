"""When standard output cannot be written, or standard input cannot be read,
a program must stop at once, say "<program>: write error: <reason>" or
"<program>: read error: <reason>" on stderr and exit with status 1. A read
error leaves only the prompts written so far; evensum reads nothing and
is not affected.

--linux adds the cases that need Linux's /dev/full; --terminal runs only the
case of a hung-up terminal, with Linux's meaning of a hang-up."""

import os
import resource
import signal
import subprocess
import sys

from dialogues import prompts, typed_answers
from harness import arguments, need_terminal, program_name, report

# Answers that make a program write far more than a pipe holds.
LONG_ANSWER = {
    "calendar": b"2147483647 1\n",
    "evensquares": b"2147483647\n",
}
# A program that stops at once uses milliseconds of processor time, under an
# emulator too; calendar writing its listing on after a failed write uses
# seconds. Unlike the time on the clock, it does not grow on a loaded machine.
CPU_SECONDS = 1
# A run still going after this has hung.
STOP_SECONDS = 60


def to_dev_full(command, typed):
    with open("/dev/full", "wb") as full:
        return subprocess.run(command, input=typed, stdout=full, stderr=subprocess.PIPE, timeout=STOP_SECONDS)


def to_closed_stdout(command, typed):
    return subprocess.run(command, input=typed, stderr=subprocess.PIPE, preexec_fn=lambda: os.close(1),
                          timeout=STOP_SECONDS)


def from_closed_stdin(command):
    return subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True,
                          preexec_fn=lambda: os.close(0), timeout=STOP_SECONDS)


def from_directory(command):
    directory = os.open("/", os.O_RDONLY)
    try:
        return subprocess.run(command, stdin=directory, capture_output=True, timeout=STOP_SECONDS)
    finally:
        os.close(directory)


def on_hung_up_terminal(command):
    """Linux reads a hung-up terminal as the end of input; the prompt or the
    result written to it is what fails."""
    controller, terminal = os.openpty()
    os.close(controller)
    try:
        return subprocess.run(command, stdin=terminal, stdout=terminal, stderr=subprocess.PIPE,
                              timeout=STOP_SECONDS)
    finally:
        os.close(terminal)


def to_pipe(command, typed, sigpipe_ignored, read_first=0):
    """Runs with stdout into a pipe whose reader takes read_first bytes, then
    leaves; with read_first 0 the reader is gone before the program starts."""
    reader, writer = os.pipe()
    if not read_first:
        os.close(reader)
    # Python ignores SIGPIPE itself; restore_signals=False passes that on.
    process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=writer, stderr=subprocess.PIPE,
                               restore_signals=not sigpipe_ignored)
    os.close(writer)
    try:
        process.stdin.write(typed)
        process.stdin.close()
    except BrokenPipeError:  # the program may have stopped before reading
        pass
    process.stdin = None  # closed already; communicate() must not flush it
    if read_first:
        with open(reader, "rb") as pipe_out:
            pipe_out.read(read_first)
    try:
        _, errors = process.communicate(timeout=STOP_SECONDS)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        raise
    return subprocess.CompletedProcess(process.args, process.returncode, stderr=errors)


def main():
    options, command = arguments()
    program = program_name(command)
    typed = typed_answers(program)

    def error_line(reason, what="write"):
        return f"{program}: {what} error: {reason}\n".encode()

    def read_error(reason):
        """Status, stderr and stdout: only the first prompt is written."""
        if program == "evensum":  # it reads nothing, so it never meets the error
            return 0, b"", b"20\n"
        return 1, error_line(reason, "read"), prompts(program)[0].encode()

    # Each case: what is done, the expected status, the expected stderr and,
    # where given, the expected stdout.
    if "--terminal" in options:
        need_terminal()
        cases = [("on a hung-up terminal", lambda: on_hung_up_terminal(command), 1, error_line("Input/output error"))]
    else:
        cases = [
            ("to a closed stdout", lambda: to_closed_stdout(command, typed), 1, error_line("Bad file descriptor")),
            ("to a broken pipe, SIGPIPE ignored", lambda: to_pipe(command, typed, True), 1, error_line("Broken pipe")),
            ("to a broken pipe, SIGPIPE default", lambda: to_pipe(command, typed, False), -signal.SIGPIPE, b""),
            ("from a closed stdin", lambda: from_closed_stdin(command), *read_error("Bad file descriptor")),
            ("from a directory", lambda: from_directory(command), *read_error("Is a directory")),
        ]
        if "--linux" in options:
            cases.append(("to /dev/full", lambda: to_dev_full(command, typed), 1,
                          error_line("No space left on device")))
        if program in LONG_ANSWER:
            long_typed = LONG_ANSWER[program]
            cases.append(("long output to a pipe closed midway, SIGPIPE ignored",
                          lambda: to_pipe(command, long_typed, True, read_first=1000), 1, error_line("Broken pipe")))
            if "--linux" in options:
                cases.append(("long output to /dev/full", lambda: to_dev_full(command, long_typed), 1,
                              error_line("No space left on device")))

    def complaint(name, action, status, errors, output=None):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        try:
            result = action()
        except subprocess.TimeoutExpired:
            return f"{name}: still running after {STOP_SECONDS} s"
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu_seconds = after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
        problems = [f"used {cpu_seconds:.1f} s of processor time"] if cpu_seconds > CPU_SECONDS else []
        if result.returncode != status:
            problems.append(f"status {result.returncode}, not {status}")
        if result.stderr != errors:
            problems.append(f"stderr {result.stderr!r}, not {errors!r}")
        if output is not None and result.stdout != output:
            problems.append(f"stdout {result.stdout!r}, not {output!r}")
        return problems and f"{name}: " + "; ".join(problems)

    return report(program, [complaint(*case) for case in cases])


if __name__ == "__main__":
    sys.exit(main())
