"""Each prompt must reach the reader before the program waits for its answer,
on a terminal and through a pipe, and the result must follow the answer."""

import os
import pty
import select
import subprocess
import sys

from dialogues import program_name, report

# Each dialogue: the (prompt, typed line) steps, then the exact result.
DIALOGUES = {
    "calendar": [[("How many days?", "8"), ("Day to start with? (SUN=1, SAT=7)", "2")],
                 "        1    2    3    4    5    6    7\n"],
    "lettergrade": [[("Enter the numerical grade: ", "85")], "The grade is : B"],
    "clock12": [[("Enter the time in 24-hour format: ", "15:40")],
                "The time you've entered in 12-hour format is: 3 : 40 PM"],
    "digitcount": [[("Enter the number: ", "42")], "The number has two digits"],
    "evensquares": [[("Enter the number?", "50")], "4\n16\n36\n"],
    "evensum": [[], "20\n"],
}
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


def on_terminal(path, steps, typed_at_once=None):
    """The screen of a run on a pseudo-terminal, or a complaint. Each prompt
    must be on the screen before its line is typed; typed_at_once, if given,
    is typed after the first prompt instead of one line per prompt."""
    child, terminal = pty.fork()
    if child == 0:
        os.execv(path, [path])
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


def through_pipes(path, steps):
    process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, bufsize=0)
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
    path = sys.argv[1]
    program = program_name(path)
    steps, result = DIALOGUES[program]

    def terminal_screen(typed_lines):
        # The terminal echoes each typed line and ends lines with CR LF.
        shown = "".join(prompt + line + "\n" for prompt, line in typed_lines) + result
        return shown.replace("\n", "\r\n").encode()

    cases = [
        ("on a terminal", lambda: on_terminal(path, steps), terminal_screen(steps)),
        ("through pipes", lambda: through_pipes(path, steps),
         ("".join(prompt for prompt, _ in steps) + result).encode()),
    ]
    if len(steps) == 2:
        first, second = steps
        at_once = f"{first[1]} {second[1]}"
        # The second prompt and the result follow without another typed line.
        screen = (first[0] + at_once + "\n" + second[0] + result).replace("\n", "\r\n").encode()
        cases.append(("both answers on one line", lambda: on_terminal(path, steps, at_once), screen))

    def complaint(name, action, expected):
        screen, why = action()
        if why is None and screen != expected:
            why = f"got {screen!r}, not {expected!r}"
        return why and f"{name}: {why}"

    return report(program, [complaint(*case) for case in cases])


if __name__ == "__main__":
    sys.exit(main())
