"""clock12: what the checks know of it."""

import re

# Each prompt with a typical answer, and the result that follows.
DIALOGUE = [("Enter the time in 24-hour format: ", "15:40")]
RESULT = "The time you've entered in 12-hour format is: 3 : 40 PM"

is_12_hour = "The time you've entered in 12-hour format is: "
# (case, typed, exact output after the prompts)
GOLDEN = [
    ("afternoon",          "15:40\n",          is_12_hour + "3 : 40 PM"),
    ("morning",            "9:05\n",           is_12_hour + "9 : 5"),
    ("noon-hour",          "12:30\n",          is_12_hour + "12 : 30"),
    ("one-pm",             "13:00\n",          is_12_hour + "1 : 0 PM"),
    ("midnight-hour",      "0:15\n",           is_12_hour + "0 : 15"),
    ("last-minute",        "23:59\n",          is_12_hour + "11 : 59 PM"),
    ("hour-24",            "24:00\n",          is_12_hour + "12 : 0 PM"),
    ("out-of-range",       "25:70\n",          is_12_hour + "13 : 70 PM"),
    ("negative-hour",      "-3:15\n",          is_12_hour + "-3 : 15"),
    ("blank-after-colon",  "15: 40\n",         is_12_hour + "3 : 40 PM"),
    ("blank-before-colon", "15 :40\n",         ""),
    ("no-colon",           "15 40\n",          ""),
    ("no-minute",          "15:\n",            ""),
    ("not-a-time",         "abc\n",            ""),
    ("no-input",           "",                 ""),
    ("huge-hour",          "99999999999:5\n",  is_12_hour + "2147483635 : 5 PM"),
    ("huge-minute",        "1:-99999999999\n", is_12_hour + "1 : -2147483648"),
]


def result_problem(result, complete=True):
    match = re.fullmatch(re.escape(is_12_hour) + r"(-?\d+) : (-?\d+)( PM)?", result)
    if result == "" or (match and (int(match[1]) <= 12 if match[3] is None else 1 <= int(match[1]) <= 2147483647 - 12)):
        return None
    return "not one of its result forms"
