"""Each prompt must reach the reader before the program waits for its answer,
through pipes, or with --terminal on a pseudo-terminal, and the result must
follow the answer."""

import os
import pty
import select
import subprocess
import sys

from dialogues import DIALOGUES
from harness import arguments, need_terminal, program_name, report

WAIT_SECONDS = 10


def read_until(fd, seen, wanted):
    """Reads fd into seen until seen ends with wanted; False if it never does."""
    while not seen.endswith(wanted):
        ready, _, _ = select.select([fd], [], [], WAIT_SECONDS)
        if not ready:
            return False
        try:
            chunk = os.read(fd, 4096)
        except OSError:  # a terminal whose program has ended
            chunk = b""
        if not chunk:
            return False
        seen += chunk
    return True


def read_to_end(fd, seen):
    while select.select([fd], [], [], WAIT_SECONDS)[0]:
        try:
            chunk = os.read(fd, 4096)
        except OSError:
            break
        if not chunk:
            break
        seen += chunk


def on_terminal(command, steps, typed_at_once=None):
    """The screen of a run on a pseudo-terminal, or a complaint. Each prompt
    must be on the screen before its line is typed; typed_at_once, if given,
    is typed after the first prompt instead of one line per prompt."""
    child, terminal = pty.fork()
    if child == 0:
        os.execvp(command[0], command)
    screen = bytearray()
    try:
        for number, (prompt, line) in enumerate(steps):
            if typed_at_once is not None and number > 0:
                continue
            if not read_until(terminal, screen, prompt.encode()):
                return None, f"prompt {prompt!r} not on the screen before typing; screen {bytes(screen)!r}"
            os.write(terminal, ((typed_at_once if typed_at_once is not None else line) + "\n").encode())
        read_to_end(terminal, screen)
    finally:
        os.close(terminal)
        _, status = os.waitpid(child, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        return None, f"status {os.waitstatus_to_exitcode(status)}"
    return bytes(screen), None


def through_pipes(command, steps):
    process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, bufsize=0)
    output = bytearray()
    for prompt, line in steps:
        if not read_until(process.stdout.fileno(), output, prompt.encode()):
            process.kill()
            process.wait()
            return None, f"prompt {prompt!r} not in the pipe before the answer; got {bytes(output)!r}"
        process.stdin.write((line + "\n").encode())
    process.stdin.close()
    read_to_end(process.stdout.fileno(), output)
    status = process.wait(timeout=WAIT_SECONDS)
    return (bytes(output), None) if status == 0 else (None, f"status {status}")


def main():
    options, command = arguments()
    program = program_name(command)
    steps, result = DIALOGUES[program]

    if "--terminal" not in options:
        cases = [("through pipes", lambda: through_pipes(command, steps),
                  ("".join(prompt for prompt, _ in steps) + result).encode())]
    else:
        need_terminal()
        # The terminal echoes each typed line and ends lines with CR LF.
        screen = "".join(prompt + line + "\n" for prompt, line in steps) + result
        cases = [("on a terminal", lambda: on_terminal(command, steps), screen.replace("\n", "\r\n").encode())]
        if len(steps) == 2:
            first, second = steps
            at_once = f"{first[1]} {second[1]}"
            # The second prompt and the result follow without another typed line.
            screen = first[0] + at_once + "\n" + second[0] + result
            cases.append(("both answers on one line", lambda: on_terminal(command, steps, at_once),
                          screen.replace("\n", "\r\n").encode()))

    def complaint(name, action, expected):
        screen, why = action()
        if why is None and screen != expected:
            why = f"got {screen!r}, not {expected!r}"
        return why and f"{name}: {why}"

    return report(program, [complaint(*case) for case in cases])


if __name__ == "__main__":
    sys.exit(main())
