"""Outputs too long for a golden table, checked by their structure: the
squares near the top of the int range, and long day listings."""

import sys

from harness import Hung, Program, ending_problems, report
from result_forms import LEAD_INS, day_line_problem


def squares_problem(output, last_root):
    if output != "".join(f"{root * root}\n" for root in range(2, last_root + 1, 2)):
        lines = output.split("\n")
        return f"{len(lines) - 1} lines, ending {lines[-3:]!r}; wanted the squares of 2 to {last_root}"
    return None


def listing_problem(output, start_day, last_day):
    head = LEAD_INS[start_day - 1] + "    1    2"
    if not output.startswith(head) or not output.endswith(f"    {last_day - 1}    {last_day}\n"):
        return f"starts {output[:30]!r}, ends {output[-30:]!r}"
    return day_line_problem(output)


# (program, typed input, check of what follows the prompts)
CASES = [
    # Long listings cross the 9/10, 99/100, ... 999999/1000000 boundaries.
    *[("calendar", f"1234567 {start_day}", lambda out, start_day=start_day: listing_problem(out, start_day, 1234566))
      for start_day in range(1, 8)],
    ("evensquares", "2147395600", lambda out: squares_problem(out, 46338)),
    ("evensquares", "2147395601", lambda out: squares_problem(out, 46340)),
    ("evensquares", "2147483647", lambda out: squares_problem(out, 46340)),
    ("evensquares", "99999999999", lambda out: squares_problem(out, 46340)),
]


def main():
    program = Program()

    def complaint(typed, check):
        try:
            result = program.run(typed.encode())
        except Hung as hung:
            return f"on {typed!r}: {hung}"
        why = "; ".join(ending_problems(result))
        if not why:
            answer, why = program.answer(result.output)
            why = why or check(answer)
        return why and f"on {typed!r}: {why}"

    return report(program, [complaint(typed, check) for name, typed, check in CASES if name == program.name])


if __name__ == "__main__":
    sys.exit(main())
