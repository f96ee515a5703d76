"""Feeds one program hundreds of generated hostile inputs and checks that it
survives them: every run ends by itself with status 0 and an empty stderr,
and writes its prompts first and then one of the program's own result forms.
It does not check that a result is the right one for its input; the golden
cases do. The inputs are the same on every run."""

import random
import sys

from dialogues import after_prompts
from harness import arguments, program_name, report, run
from result_forms import result_problem

RUNS = 320
RANDOM_STATE = 20261208
# A day count near 2**31 lists gigabytes. Such a listing is read this far and
# its head checked; then the pipe is closed, and calendar must end by itself.
READ_LIMIT = 1 << 20


def digits(rng, low, high):
    return "".join(rng.choice("0123456789") for _ in range(rng.randint(low, high)))


def sign(rng):
    return rng.choice(["", "", "-", "+"])


# One generator per class of input; each returns a piece of text.
PIECES = [
    lambda rng: "",
    lambda rng: sign(rng) + digits(rng, 1, 4),  # may end the input mid-number
    lambda rng: rng.choice(["-", "+", "--", "++", "+-", "-+", "- ", "+\n"]) + digits(rng, 0, 2),
    lambda rng: sign(rng) + digits(rng, 20, 40),
    lambda rng: str(rng.choice([1, -1]) * (2**31 + rng.choice([0, 1, 7, 2**31 - 1, 2**31, 2**32 + 90]))),
    lambda rng: "".join(rng.choice([" ", "\t", "\r", "\n", "\r\n", digits(rng, 1, 2)]) for _ in range(rng.randint(1, 8))),
    lambda rng: rng.choice([":", "::", ":15", "15::40", "1:2:3", " : ", "12:", ":-", "7:\t8"]),
    lambda rng: rng.randbytes(rng.randint(1, 48)).decode("latin-1"),
    # A plain small answer between the hostile pieces reaches the results.
    lambda rng: rng.choice([" ", "\n", "\t"]) + str(rng.randint(-2, 9)),
]


def hostile_input(rng):
    pieces = rng.choices(PIECES, weights=[1, 3, 1, 2, 2, 2, 1, 1, 4], k=rng.randint(1, 3))
    return "".join(piece(rng) for piece in pieces).encode("latin-1")


def problem(program, output, errors, status):
    complete = len(output) < READ_LIMIT
    endings = [(0, b"")]
    if not complete:  # the rest fitted in the pipe before it closed, or met it closed
        endings.append((1, f"{program}: write error: Broken pipe\n".encode()))
    if (status, errors) not in endings:
        return f"exit status {status}, stderr {errors!r}"
    try:
        text = output.decode("ascii")
    except UnicodeDecodeError:
        return "output is not plain text"
    result = after_prompts(program, text)
    if result is None:
        return "output does not start with the prompts"
    return result_problem(program, result, complete)


def main():
    _, command = arguments()
    program = program_name(command)
    rng = random.Random(f"{RANDOM_STATE}-{program}")

    def complaint(typed):
        output, errors, status = run(command, typed, READ_LIMIT)
        why = problem(program, output, errors, status)
        return why and f"on {typed!r}: {why}\n  output: {output[:200]!r}"

    return report(program, [complaint(hostile_input(rng)) for _ in range(RUNS)])


if __name__ == "__main__":
    sys.exit(main())
