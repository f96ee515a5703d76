"""evensquares: what the checks know of it."""

# Each prompt with a typical answer, and the result that follows.
DIALOGUE = [("Enter the number?", "50")]
RESULT = "4\n16\n36\n"

# (case, typed, exact output after the prompts)
GOLDEN = [
    ("limit-4",      "4\n",            ""),
    ("limit-5",      "5\n",            "4\n"),
    ("limit-17",     "17\n",           "4\n16\n"),
    ("square-equal", "100\n",          "4\n16\n36\n64\n"),
    ("square-below", "101\n",          "4\n16\n36\n64\n100\n"),
    ("limit-0",      "0\n",            ""),
    ("negative",     "-7\n",           ""),
    ("no-input",     "",               ""),
    ("clamped-low",  "-4294967279\n",  ""),
]

# An answer that makes it write more than a pipe holds.
LONG_ANSWER = "2147483647\n"


def result_problem(result, complete=True):
    """None if result is the squares of 2, 4, ... up to at most 46340, or the
    head of such a list when not complete; else why not."""
    *squares, last = result.split("\n")  # last is "" after a line end, else a cut square
    wanted = [str((2 * k) ** 2) for k in range(1, len(squares) + 2)]
    if squares == wanted[:-1] and len(squares) <= 23170 and (last == "" or not complete and wanted[-1].startswith(last)):
        return None
    return "not one of its result forms"


def squares_problem(output, last_root):
    if output != "".join(f"{root * root}\n" for root in range(2, last_root + 1, 2)):
        lines = output.split("\n")
        return f"{len(lines) - 1} lines, ending {lines[-3:]!r}; wanted the squares of 2 to {last_root}"
    return None


# Outputs too long for the golden table, checked by their structure: the
# squares near the top of the int range.
# (typed, check of what follows the prompts)
LONG_OUTPUTS = [
    ("2147395600", lambda out: squares_problem(out, 46338)),
    ("2147395601", lambda out: squares_problem(out, 46340)),
    ("2147483647", lambda out: squares_problem(out, 46340)),
    ("99999999999", lambda out: squares_problem(out, 46340)),
]
