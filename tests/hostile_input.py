"""Feeds one program hundreds of generated hostile inputs and checks that it
survives them: every run ends by itself with status 0 and an empty stderr,
and writes its prompts first and then one of the program's own result forms.
It does not check that a result is the right one for its input; the golden
cases do. The inputs are the same on every run."""

import random
import sys

from harness import Hung, Program, ending_problems, report
from result_forms import result_problem

RUNS = 320
# Wine takes about 0.1 s to start a program, so a Windows build runs only
# the first of the same inputs.
WINDOWS_RUNS = 80
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


def problem(program, result):
    complete = len(result.output) < READ_LIMIT
    endings = [ending_problems(result)]
    if not complete:  # the rest fitted in the pipe before it closed, or met it closed
        endings.append(ending_problems(result, 1, program.broken_pipe_line()))
    if all(endings):
        return "; ".join(endings[0])
    answer, why = program.answer(result.output)
    return why or result_problem(program.name, answer, complete)


def main():
    program = Program()
    rng = random.Random(f"{RANDOM_STATE}-{program.name}")
    inputs = [hostile_input(rng) for _ in range(WINDOWS_RUNS if program.windows else RUNS)]

    complaints = []
    for typed in inputs:
        try:
            result = program.run(typed, read_limit=READ_LIMIT)
        except Hung as hung:  # every later run would likely hang too
            complaints.append(f"on {typed!r}: {hung}")
            break
        why = problem(program, result)
        complaints.append(why and f"on {typed!r}: {why}\n  output: {result.output[:200]!r}")
    return report(program, complaints, not_run=len(inputs) - len(complaints))


if __name__ == "__main__":
    sys.exit(main())
