"""Each prompt must reach the reader before the program waits for its answer,
through pipes, or with --terminal on a pseudo-terminal, and the result must
follow the answer. This check talks with the program step by step, so it
starts the program itself instead of through harness.run."""

import os
import pty
import select
import signal
import subprocess
import sys
import time

from dialogues import DIALOGUES
from harness import RUN_SECONDS, Program, need_terminal, report

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


def exit_status(pid):
    """pid's exit status, or None if it has not ended within RUN_SECONDS;
    then it is killed."""
    deadline = time.monotonic() + RUN_SECONDS
    while time.monotonic() < deadline:
        ended, status = os.waitpid(pid, os.WNOHANG)
        if ended:
            return os.waitstatus_to_exitcode(status)
        time.sleep(0.05)
    os.kill(pid, signal.SIGKILL)
    os.waitpid(pid, 0)
    return None


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
        status = exit_status(child)
    return ending(bytes(screen), status)


def ending(output, status):
    if status is None:
        return None, f"still running after {RUN_SECONDS} s"
    return (output, None) if status == 0 else (None, f"status {status}")


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
    process.stdout.close()
    try:
        status = process.wait(RUN_SECONDS)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        status = None
    return ending(bytes(output), status)


def main():
    program = Program()
    command = program.command
    steps, result = DIALOGUES[program.name]

    if "--terminal" not in program.options:
        dialogue = "".join(prompt for prompt, _ in steps) + result
        cases = [("through pipes", lambda: through_pipes(command, steps), program.line_ends(dialogue))]
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
