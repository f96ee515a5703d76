"""lettergrade: what the checks know of it."""

import re

# Each prompt with a typical answer, and the result that follows.
DIALOGUE = [("Enter the numerical grade: ", "85")]
RESULT = "The grade is : B"

# (case, typed, exact output after the prompts)
GOLDEN = [
    ("top-of-a",       "99\n",          "The grade is : A"),
    ("100-is-no-band", "100\n",         "Not exist"),
    ("bottom-of-a",    "90\n",          "The grade is : A"),
    ("top-of-b",       "89\n",          "The grade is : B"),
    ("bottom-of-b",    "80\n",          "The grade is : B"),
    ("top-of-c",       "79\n",          "The grade is : C"),
    ("bottom-of-c",    "70\n",          "The grade is : C"),
    ("top-of-d",       "69\n",          "The grade is : D"),
    ("bottom-of-d",    "60\n",          "The grade is : D"),
    ("top-of-f",       "59\n",          "The grade is : F"),
    ("zero-is-f",      "0\n",           "The grade is : F"),
    ("minus-1",        "-1\n",          "Not exist"),
    ("leading-zeros",  "085\n",         "The grade is : B"),
    ("plus-sign",      "+95\n",         "The grade is : A"),
    ("no-input",       "",              "Not exist"),
    ("not-a-number",   "abc\n",         "Not exist"),
    ("lone-sign",      "-\n",           "Not exist"),
    ("clamped-high",   "4294967386\n",  "Not exist"),
    ("clamped-low",    "-4294967295\n", "Not exist"),
]


def result_problem(result, complete=True):
    if re.fullmatch(r"The grade is : [ABCDF]|Not exist", result):
        return None
    return "not one of its result forms"
