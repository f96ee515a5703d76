"""The process checks: each check runs the cases that a program's table in
cases/ gives it, through runner.py, and names every case that fails, with
what was expected and what came.

    check.py [--list] CHECK [--windows | --wasi] [LAUNCHER ...] PROGRAM
    check.py --checks NAME

The first runs CHECK on PROGRAM, through the launcher if one is given;
--list names its cases instead. The second names the checks that NAME has,
for CMake. --windows or --wasi says that it is a Windows or a WASI program.
The check "reads" runs read_check, not a program."""

import functools
import importlib
import random
import re
import resource
import signal
import sys
import tempfile

from runner import BROKEN_PIPE, CLOSED, FILE, HANGS_UP_IN_READ, HUNG_UP, TERMINAL, Hung, Program

# A program that stops at once after a failed write makes no more write
# calls than its prompts, the write that fails (and the rest of a partial
# one), and its error line. One that writes on after the failure makes
# dozens, or hundreds of thousands.
MOST_WRITES_BEYOND_PROMPTS = 3
# A day count near 2**31 lists gigabytes: such a listing is read this far and
# its head checked; then the pipe is closed, and calendar must end by itself.
READ_LIMIT = 1 << 20
# The largest file that a long output may write: its write that crosses
# this byte fails with EFBIG, in the middle of the output.
SIZE_LIMIT = 1000


def prompts_of(table):
    return "".join(prompt for prompt, _ in table.DIALOGUE)


def differences(ran, output=None, status=0, errors=b""):
    """What differs from the expected stdout (if given), status and stderr."""
    found = []
    for what, expected, actual in (("stdout", output, ran.output), ("status", status, ran.status),
                                   ("stderr", errors, ran.errors)):
        if expected is not None and actual != expected:
            found.append(f"{what} {shown(actual)}, expected {shown(expected)}")
    return found


def shown(value):
    if isinstance(value, bytes) and len(value) > 400:
        return f"{value[:400]!r}... ({len(value)} bytes)"
    return repr(value)


def after_prompts(table, output):
    """What output holds after the prompts, and None; or None and why output
    is not the prompts and then plain text."""
    try:
        text = output.decode("ascii")
    except UnicodeDecodeError:
        return None, "output is not plain text"
    if not text.startswith(prompts_of(table)):
        return None, "output does not start with the prompts"
    return text[len(prompts_of(table)):], None


def result_problems(table, output, complete=True):
    """Why output is not the prompts and then one of the results, if it is not."""
    answer, why = after_prompts(table, output)
    why = why or table.result_problem(answer, complete)
    return [f"{why}; output {shown(output[:200])}"] if why else []


def golden(program, table):
    for name, typed, result in table.GOLDEN:
        yield name, lambda typed=typed, result=result: differences(
            program.run(typed.encode()), output=(prompts_of(table) + result).encode())


def terminal_dialogues(table):
    """What a Unix terminal shows, as (case, (prompt, typed) steps, screen with LF line ends): the dialogue,
    both of two answers on one line, and Ctrl-D (VEOF) at the first prompt as the table's no input."""
    steps = [(prompt, line + "\n") for prompt, line in table.DIALOGUE]
    yield "on a terminal", steps, "".join(prompt + line for prompt, line in steps) + table.RESULT
    if len(steps) == 2:
        (first, first_line), (second, second_line) = steps
        at_once = f"{first_line.strip()} {second_line}"
        # The second prompt and the result follow without another typed line.
        yield "both answers on one line", [(first, at_once)], first + at_once + second + table.RESULT
    if steps:
        (first, first_line), *later = steps
        yield "an answer sent with Ctrl-D, then Enter", [(first, first_line.replace("\n", "\x04\n")), *later], \
            "".join(prompt + line for prompt, line in steps) + table.RESULT
        no_input = next(result for name, _, result in table.GOLDEN if name == "no-input")
        yield "Ctrl-D at the first prompt", [(steps[0][0], "\x04")], prompts_of(table) + no_input


def prompts(program, table):
    """Each prompt must reach the reader before the program waits for its
    answer: through pipes, and on a Unix terminal, which echoes what is
    typed and ends lines with CR LF."""
    steps = [(prompt, line + "\n") for prompt, line in table.DIALOGUE]
    yield "through pipes", lambda: differences(
        program.run(answers=steps), output=(prompts_of(table) + table.RESULT).encode())
    if program.windows:
        return
    for name, typed, screen in terminal_dialogues(table):
        yield name, lambda typed=typed, screen=screen: differences(
            program.run(answers=typed, stdin=TERMINAL), output=screen.replace("\n", "\r\n").encode())


def io_errors(program, table):
    """A program whose stdout cannot be written, or whose stdin cannot be read,
    stops at once with status 1 and one error line; a read error leaves only
    the prompts written so far. evensum reads nothing and is not affected.
    UNHELD names the cases that a system's programs cannot hold."""
    def write_error(reason):
        return 1, program.error_line("write", reason)

    def read_error(reason):
        if not table.DIALOGUE:
            return 0, b"", table.RESULT.encode()
        return 1, program.error_line("read", reason), table.DIALOGUE[0][0].encode()

    typed = "".join(line + "\n" for _, line in table.DIALOGUE).encode()
    prompts = prompts_of(table).encode()
    # (case, how it runs, expected status, stderr and, where given, stdout)
    cases = [
        ("to a closed stdout", dict(typed=typed, stdout=CLOSED), *write_error("Bad file descriptor")),
        ("to a broken pipe, SIGPIPE ignored", dict(typed=typed, stdout=BROKEN_PIPE), *write_error("Broken pipe")),
        ("to /dev/full", dict(typed=typed, stdout="/dev/full"), *write_error("No space left on device")),
        ("to a file that holds the prompts alone", dict(typed=typed, stdout=FILE, size_limit=len(prompts)),
         *write_error("File too large"), prompts),
        ("from a closed stdin", dict(stdin=CLOSED), *read_error("Bad file descriptor")),
        ("from a directory", dict(stdin="/"), *read_error("Is a directory")),
        ("to a broken pipe, SIGPIPE default", dict(typed=typed, stdout=BROKEN_PIPE, sigpipe_default=True),
         -signal.SIGPIPE, b""),
        ("on a hung-up terminal", dict(stdin=HUNG_UP), *write_error("Input/output error")),
    ]
    if table.DIALOGUE:
        # An answer is begun, then the terminal hangs up while the program
        # waits for more: among blanks, after a sign, among digits.
        (prompt, answer), *_ = table.DIALOGUE
        cases += [(f"from a terminal that hangs up after {begun!r}",
                   dict(answers=[(prompt, begun)], stdin=HANGS_UP_IN_READ), *read_error("Input/output error"))
                  for begun in (" ", "-", answer)]
    if hasattr(table, "LONG_ANSWER"):
        long_typed = table.LONG_ANSWER.encode()
        cases += [
            ("long output to a pipe closed midway, SIGPIPE ignored", dict(typed=long_typed, read_limit=1000),
             *write_error("Broken pipe")),
            (f"long output to a file of at most {SIZE_LIMIT} bytes",
             dict(typed=long_typed, stdout=FILE, size_limit=SIZE_LIMIT), *write_error("File too large")),
        ]
    for name, how, *expected in cases:
        if not any(words in name for words in UNHELD.get(program.system, ())):
            yield name, lambda how=how, expected=expected: stopped_at_once(program, table, how, *expected)


# The cases a system's programs cannot hold, by words of their names: Windows has no SIGPIPE, and its
# programs no Unix terminal; node gives a WASI program /dev/null for a closed stdin or stdout, ignores
# SIGPIPE, and aborts when its terminal hangs up in a read.
UNHELD = {"windows": ("SIGPIPE default", "terminal"), "wasi": ("closed", "SIGPIPE default", "hangs up after")}


def stopped_at_once(program, table, how, status, errors, output=None):
    ran = program.run(**how)
    found = differences(ran, output, status, errors)
    if "size_limit" in how and output is None:
        # Linux writes up to the limit; Wine fails the whole write that crosses it.
        if len(ran.output) != SIZE_LIMIT and not (program.windows and len(ran.output) < SIZE_LIMIT):
            found.append(f"the file holds {len(ran.output)} bytes, not {SIZE_LIMIT}")
        found += result_problems(table, ran.output, complete=False)
    if how.get("stdout") in (CLOSED, BROKEN_PIPE, "/dev/full") and ran.taken and not program.windows:
        found.append(f"it read {ran.taken} bytes of input, though its first write failed")  # Windows may fail late
    if program.system:
        return found  # Wine's or node's own write calls would be counted too
    most = len(table.DIALOGUE) + MOST_WRITES_BEYOND_PROMPTS
    if "read_limit" in how:  # and what fitted in the pipe, a page, before its reader went
        most += resource.getpagesize() // 4096
    if ran.writes is None:
        found.append("its write calls cannot be counted: /proc/self/io cannot be read")
    elif ran.writes > most:
        found.append(f"{ran.writes} write calls, not at most {most}")
    return found


# Hostile input: hundreds of generated inputs, the same on every run. Each
# run must end by itself with status 0 and an empty stderr, and write the
# prompts and then one of the program's result forms; the golden cases
# check that a result is the right one.
HOSTILE_INPUTS = 320
RANDOM_STATE = 20261208


def digits(rng, low, high):
    return "".join(rng.choice("0123456789") for _ in range(rng.randint(low, high)))


def sign(rng):
    return rng.choice(["", "", "-", "+"])


def random_bytes(rng):
    return rng.randbytes(rng.randint(1, 48)).decode("latin-1")


# One generator per class of input; each returns a piece of text.
PIECES = [
    lambda rng: "",
    lambda rng: sign(rng) + digits(rng, 1, 4),  # may end the input mid-number
    lambda rng: rng.choice(["-", "+", "--", "++", "+-", "-+", "- ", "+\n"]) + digits(rng, 0, 2),
    lambda rng: sign(rng) + digits(rng, 20, 40),
    lambda rng: str(rng.choice([1, -1]) * (2**31 + rng.choice([-2, -1, 0, 1, 7, 2**31 - 1, 2**31, 2**32 + 90]))),
    lambda rng: "".join(rng.choice([" ", "\t", "\r", "\n", "\r\n", digits(rng, 1, 2)]) for _ in range(rng.randint(1, 8))),
    lambda rng: rng.choice([":", "::", ":15", "15::40", "1:2:3", " : ", "12:", ":-", "7:\t8"]),
    random_bytes,
    # A plain small answer between the hostile pieces reaches the results.
    lambda rng: rng.choice([" ", "\n", "\t"]) + str(rng.randint(-2, 9)),
]


def generated_inputs(state, how_many, pieces=PIECES, weights=(1, 3, 1, 2, 2, 2, 1, 1, 4)):
    """how_many inputs, made alike on every run from one random state, each
    with the pieces that it is made of."""
    rng = random.Random(state)
    for _ in range(how_many):
        chosen = rng.choices(pieces, weights=weights, k=rng.randint(1, 3))
        yield "".join(piece(rng) for piece in chosen).encode("latin-1"), chosen


def hostile_input(program, table):
    """Under an emulator, where a program starts slowly, every fourth input
    runs, and every one with random bytes: arm64's plain char is unsigned."""
    inputs = generated_inputs(f"{RANDOM_STATE}-{program.name}", HOSTILE_INPUTS)
    for number, (typed, pieces) in enumerate(inputs):
        if not program.emulated or number % 4 == 0 or random_bytes in pieces:
            yield f"{number} {typed!r}", lambda typed=typed: survived(program, table, typed)


def survived(program, table, typed):
    ran = program.run(typed, read_limit=READ_LIMIT)
    complete = len(ran.output) < READ_LIMIT
    found = differences(ran)
    # Cut off, the rest fitted in the pipe before it closed, or met it closed.
    if not complete and not differences(ran, status=1, errors=program.error_line("write", "Broken pipe")):
        found = []
    return found or result_problems(table, ran.output, complete)


def long_outputs(program, table):
    """Outputs too long for the golden table, checked by their structure."""
    for typed, problem in table.LONG_OUTPUTS:
        def case(typed=typed, problem=problem):
            ran = program.run(typed.encode())
            answer, why = after_prompts(table, ran.output)
            why = why or problem(answer)
            return differences(ran) or ([why] if why else [])
        yield typed, case


# The reads, beside scanf: inputs from the hostile-input generator, with
# every blank that isspace names.
READ_INPUTS = 2000
NUMBER = re.compile(rb"[+-]?[0-9]+")
INT_MIN, INT_MAX = -2**31, 2**31 - 1


def blanks(rng):
    return "".join(rng.choice(" \t\n\v\f\r") for _ in range(rng.randint(1, 3)))


def reads(program, _table):
    """console's reads take what scanf's "%d" and "%d:%d" take, assign what
    they assign and leave the same input unread; a number beyond int, for
    which scanf's value is undefined, is clamped to INT_MIN or INT_MAX."""
    inputs = list(generated_inputs(f"{RANDOM_STATE}-reads", READ_INPUTS, PIECES + [blanks], None))

    @functools.lru_cache(maxsize=None)
    def reports():
        with tempfile.TemporaryDirectory() as folder:
            for number, (typed, _) in enumerate(inputs):
                with open(f"{folder}/{number}", "wb") as file:
                    file.write(typed)
            ran = program.run(arguments=[folder, str(len(inputs))])
        lines = ran.output.decode("ascii").splitlines()
        if differences(ran) or len(lines) != 4 * len(inputs):
            raise OSError(f"read_check failed: {differences(ran)}, {len(lines)} lines")
        return lines

    for number, (typed, _) in enumerate(inputs):
        yield f"{number} {typed!r}", lambda number=number, typed=typed: [
            problem for way in range(2) for problem in read_problems(typed, *reports()[4 * number + 2 * way:][:2])]


def read_problems(typed, console_line, scanf_line):
    console, scanf = console_line.split(" ")[2:], scanf_line.split(" ")[2:]
    if [console[0] == "-", console[1] == "-", console[2]] != [scanf[0] == "-", scanf[1] == "-", scanf[2]]:
        return [f"{console_line!r} beside {scanf_line!r}"]
    taken = typed[:len(typed) - len(bytes.fromhex(scanf[2]))]
    exact = iter(int(number) for number in NUMBER.findall(taken))
    for got, reference in zip(console[:2], scanf[:2]):
        if got == "-":
            continue
        value = next(exact)
        wanted = reference if INT_MIN <= value <= INT_MAX else str(min(max(value, INT_MIN), INT_MAX))
        if got != wanted:
            return [f"{console_line!r} beside {scanf_line!r}: {got}, not {wanted}"]
    return []


CHECKS = {"golden": golden, "prompts": prompts, "io-errors": io_errors, "hostile-input": hostile_input,
          "long-outputs": long_outputs, "reads": reads}
# A table's own names are in capitals, and its helpers' are not, so that a
# misspelt name fails instead of dropping its cases.
TABLE_NAMES = {"DIALOGUE", "RESULT", "GOLDEN", "LONG_ANSWER", "LONG_OUTPUTS", "result_problem"}
REQUIRED_NAMES = {"DIALOGUE", "RESULT", "GOLDEN"}


def table_of(name):
    table = importlib.import_module(f"cases.{name}")
    names = set(vars(table))
    unknown = sorted(n for n in names if n.isupper() and n not in TABLE_NAMES)
    missing = sorted(REQUIRED_NAMES - names)
    if unknown or missing:
        raise SystemExit(f"cases/{name}.py: unknown names {unknown}, missing names {missing}")
    return table


def checks_of(name):
    """A program that reads nothing meets no hostile input, and only some
    write long. "reads" is read_check's alone."""
    table = table_of(name)
    applies = {"hostile-input": bool(table.DIALOGUE), "long-outputs": hasattr(table, "LONG_OUTPUTS")}
    return [check for check in CHECKS if check != "reads" and applies.get(check, True)]


def main(args):
    if args[0] == "--checks":
        print(";".join(checks_of(args[-1])))
        return 0
    listing = args[0] == "--list"
    check, *command = args[1:] if listing else args
    system = command[0][2:] if command[0] in ("--windows", "--wasi") else None
    program = Program(command[1:] if system else command, system)
    cases = list(CHECKS[check](program, None if check == "reads" else table_of(program.name)))
    if listing:
        for name, _ in cases:
            print(f"{program.name}.{check}: {name}")
        return 0
    failed = 0
    for number, (name, case) in enumerate(cases):
        try:
            problems = case()
        except Hung as hung:  # every later run would likely hang too
            print(f"FAIL {program.name}.{check} {name}: {hung}; {len(cases) - number - 1} cases not run")
            return 1
        except OSError as error:  # such as no pseudo-terminal
            problems = [f"cannot run: {error}"]
        if problems:
            failed += 1
            print(f"FAIL {program.name}.{check} {name}: " + "; ".join(problems))
    print(f"{program.name}.{check}: {len(cases) - failed} passed, {failed} failed")
    return 1 if failed or not cases else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
