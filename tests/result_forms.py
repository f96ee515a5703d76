"""The forms that each program's results take, for outputs checked by their
shape rather than against an exact text."""

import re

LEAD_INS = ["", " " * 4, " " * 6, " " * 8, " " * 10, " " * 12, " " * 14]


def day_line_problem(text, complete=True):
    """None if text is a day line, or the head of one when not complete."""
    if complete:
        if not text.endswith("\n") or text.count("\n") != 1:
            return "the day line does not end with its only line end"
        text = text[:-1]
    blanks = len(text) - len(text.lstrip(" "))
    for lead_in in LEAD_INS:
        if len(lead_in) not in (blanks, blanks - 4):  # no day, or day 1 follows
            continue
        fields = text[len(lead_in):].split("    ")
        days = fields[1:-1] if not complete else fields[1:]  # a cut field
        if fields[0] == "" and days == list(map(str, range(1, len(days) + 1))):
            return None
    return "not a lead-in and day fields counting up from 1"


def result_problem(program, result, complete=True):
    """None if result is one of the program's own result forms, else why not."""
    if program == "calendar":
        if result == "You have entered wrong number!\n":
            return None
        return day_line_problem(result, complete)
    if program == "lettergrade":
        ok = re.fullmatch(r"The grade is : [ABCDF]|Not exist", result)
    elif program == "clock12":
        match = re.fullmatch(r"The time you've entered in 12-hour format is: (-?\d+) : (-?\d+)( PM)?", result)
        ok = result == "" or (match and (int(match[1]) <= 12 if match[3] is None else 1 <= int(match[1]) <= 2147483647 - 12))
    elif program == "digitcount":
        ok = re.fullmatch(r"|The number has (one digit|two digits|three digits)", result)
    elif program == "evensquares":
        squares = result.split("\n")
        ok = squares[-1] == "" and squares[:-1] == [str((2 * k) ** 2) for k in range(1, len(squares))] and len(squares) <= 23171
    elif program == "evensum":
        ok = result == "20\n"
    else:
        return f"tests/result_forms.py has no result forms for {program}"
    return None if ok else "not one of the program's result forms"
