"""When standard output cannot be written, or standard input cannot be read,
a program must stop at once, say "<program>: write error: <reason>" or
"<program>: read error: <reason>" on stderr and exit with status 1. A read
error leaves only the prompts written so far; evensum reads nothing and
is not affected.

--terminal runs only the case of a hung-up terminal, with Linux's meaning of
a hang-up. Windows has no SIGPIPE, so that case is left out for --windows."""

import os
import resource
import signal
import sys

from dialogues import prompts, typed_answers
from harness import BROKEN_PIPE, CLOSED, Hung, Program, ending_problems, need_terminal, report

# Answers that make a program write far more than a pipe holds.
LONG_ANSWER = {
    "calendar": b"2147483647 1\n",
    "evensquares": b"2147483647\n",
}
# A program that stops at once uses milliseconds of processor time, tens of
# them under qemu or Wine; calendar writing its listing on after a failed
# write uses seconds. The bound has room for an emulator, and unlike the
# time on the clock, a loaded machine does not stretch it.
CPU_SECONDS = 1


def with_file(path, flags, action):
    fd = os.open(path, flags)
    try:
        return action(fd)
    finally:
        os.close(fd)


def on_hung_up_terminal(program):
    """Linux reads a hung-up terminal as the end of input; the prompt or the
    result written to it is what fails."""
    controller, terminal = os.openpty()
    os.close(controller)
    try:
        return program.run(stdin=terminal, stdout=terminal)
    finally:
        os.close(terminal)


def main():
    program = Program()
    typed = typed_answers(program.name)

    def read_error(reason, on_windows):
        """Status, stderr and stdout: only the first prompt is written."""
        if program.name == "evensum":  # it reads nothing, so it never meets the error
            return 0, b"", program.line_ends("20\n")
        return 1, program.error_line("read", reason, on_windows), program.line_ends(prompts(program.name)[0])

    def write_error(reason):
        return program.error_line("write", reason)

    broken_pipe = program.broken_pipe_line()
    no_space = write_error("No space left on device")

    # Each case: what is done, the expected status, the expected stderr and,
    # where given, the expected stdout.
    if "--terminal" in program.options:
        need_terminal()
        cases = [("on a hung-up terminal", lambda: on_hung_up_terminal(program), 1,
                  write_error("Input/output error"))]
    else:
        cases = [
            ("to a closed stdout", lambda: program.run(typed, stdout=CLOSED), 1,
             write_error("Bad file descriptor")),
            ("to a broken pipe, SIGPIPE ignored", lambda: program.run(typed, stdout=BROKEN_PIPE), 1, broken_pipe),
            ("from a closed stdin", lambda: program.run(stdin=CLOSED),
             *read_error("Bad file descriptor", on_windows="Invalid argument")),
            ("from a directory", lambda: with_file("/", os.O_RDONLY, lambda fd: program.run(stdin=fd)),
             *read_error("Is a directory", on_windows="Invalid argument")),
            ("to /dev/full", lambda: with_file("/dev/full", os.O_WRONLY, lambda fd: program.run(typed, stdout=fd)),
             1, no_space),
        ]
        if not program.windows:
            cases.append(("to a broken pipe, SIGPIPE default",
                          lambda: program.run(typed, stdout=BROKEN_PIPE, sigpipe_default=True), -signal.SIGPIPE, b""))
        if program.name in LONG_ANSWER:
            long_typed = LONG_ANSWER[program.name]
            cases += [
                ("long output to a pipe closed midway, SIGPIPE ignored",
                 lambda: program.run(long_typed, read_limit=1000), 1, broken_pipe),
                ("long output to /dev/full",
                 lambda: with_file("/dev/full", os.O_WRONLY, lambda fd: program.run(long_typed, stdout=fd)),
                 1, no_space),
            ]

    def complaint(name, action, status, errors, output=None):
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        try:
            result = action()
        except Hung as hung:
            return f"{name}: {hung}"
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        cpu_seconds = after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
        problems = [f"used {cpu_seconds:.1f} s of processor time"] if cpu_seconds > CPU_SECONDS else []
        problems += ending_problems(result, status, errors)
        if output is not None and result.output != output:
            problems.append(f"stdout {result.output!r}, not {output!r}")
        return problems and f"{name}: " + "; ".join(problems)

    return report(program, [complaint(*case) for case in cases])


if __name__ == "__main__":
    sys.exit(main())
