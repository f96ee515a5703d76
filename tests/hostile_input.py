"""Feeds one program hundreds of generated hostile inputs and checks that every
run exits 0, leaves stderr empty, writes its prompts first and then one of the
program's own result forms. The inputs are the same on every run."""

import random
import subprocess
import sys
import tempfile

from dialogues import after_prompts, program_name, report, result_problem

RUNS = 320
RANDOM_STATE = 20261208
# A day count near 2**31 lists gigabytes; such a listing is read this far,
# its head checked, and the program stopped.
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


def run(path, typed):
    """Standard output (at most READ_LIMIT bytes), stderr, status, and whether the output was complete."""
    with tempfile.TemporaryFile() as stdin, tempfile.TemporaryFile() as stderr:
        stdin.write(typed)
        stdin.seek(0)
        process = subprocess.Popen([path], stdin=stdin, stdout=subprocess.PIPE, stderr=stderr)
        output = process.stdout.read(READ_LIMIT)
        complete = len(output) < READ_LIMIT
        if not complete:
            process.kill()
        process.stdout.close()
        status = process.wait(timeout=30)
        stderr.seek(0)
        return output, stderr.read(), status, complete


def problem(program, output, errors, status, complete):
    if errors:
        return f"stderr: {errors!r}"
    if complete and status != 0:
        return f"exit status {status}"
    try:
        text = output.decode("ascii")
    except UnicodeDecodeError:
        return "output is not plain text"
    result = after_prompts(program, text)
    if result is None:
        return "output does not start with the prompts"
    return result_problem(program, result, complete)


def main():
    path = sys.argv[1]
    program = program_name(path)
    rng = random.Random(f"{RANDOM_STATE}-{program}")

    def complaint(typed):
        output, errors, status, complete = run(path, typed)
        why = problem(program, output, errors, status, complete)
        return why and f"on {typed!r}: {why}\n  output: {output[:200]!r}"

    return report(program, [complaint(hostile_input(rng)) for _ in range(RUNS)])


if __name__ == "__main__":
    sys.exit(main())
