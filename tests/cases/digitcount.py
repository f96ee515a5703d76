"""digitcount: what the checks know of it."""

import re

# Each prompt with a typical answer, and the result that follows.
DIALOGUE = [("Enter the number: ", "42")]
RESULT = "The number has two digits"

# (case, typed, exact output after the prompts)
GOLDEN = [
    ("zero",          "0\n",          "The number has one digit"),
    ("9",             "9\n",          "The number has one digit"),
    ("10",            "10\n",         "The number has two digits"),
    ("99",            "99\n",         "The number has two digits"),
    ("100",           "100\n",        "The number has three digits"),
    ("999",           "999\n",        "The number has three digits"),
    ("1000",          "1000\n",       ""),
    ("negative",      "-5\n",         ""),
    ("leading-zeros", "007\n",        "The number has one digit"),
    ("no-input",      "",             ""),
    ("not-a-number",  "x\n",          ""),
    ("clamped-high",  "4294967301\n", ""),
]


def result_problem(result, complete=True):
    if re.fullmatch(r"|The number has (one digit|two digits|three digits)", result):
        return None
    return "not one of its result forms"
