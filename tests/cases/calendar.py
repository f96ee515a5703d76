"""calendar: what the checks know of it."""

# Each prompt with a typical answer, and the result that follows.
DIALOGUE = [("How many days?", "8"), ("Day to start with? (SUN=1, SAT=7)", "2")]
RESULT = "        1    2    3    4    5    6    7\n"

lead_ins = ["", " " * 4, " " * 6, " " * 8, " " * 10, " " * 12, " " * 14]
sunday, monday, tuesday, wednesday, thursday, friday, saturday = lead_ins
wrong = "You have entered wrong number!\n"

# (case, typed, exact output after the prompts)
GOLDEN = [
    ("sunday-no-lead-in",       "3 1\n",            "    1    2\n"),
    ("monday-lead-in",          "8 2\n",            monday + "    1    2    3    4    5    6    7\n"),
    ("tuesday-lead-in",         "5\n3\n",           tuesday + "    1    2    3    4\n"),
    ("wednesday-lead-in",       "2 4\n",            wednesday + "    1\n"),
    ("thursday-lead-in",        "2 5\n",            thursday + "    1\n"),
    ("friday-lead-in",          "2 6\n",            friday + "    1\n"),
    ("saturday-one-day",        "1 7\n",            saturday + "\n"),
    ("thirty-thousand-days",    "30000 1\n",        "".join(f"    {day}" for day in range(1, 30000)) + "\n"),
    ("month-of-31",             "31 1\n",           "    1    2    3    4    5    6    7    8    9    10    11    12    13    14    15    16    17    18    19    20    21    22    23    24    25    26    27    28    29    30\n"),
    ("zero-days",               "0 4\n",            wednesday + "\n"),
    ("negative-days",           "-5 6\n",           friday + "\n"),
    ("start-day-0",             "5 0\n",            wrong),
    ("start-day-8",             "5 8\n",            wrong),
    ("start-day-minus-1",       "5 -1\n",           wrong),
    ("answers-on-two-lines",    "\n 3\n\t1\n",      "    1    2\n"),
    ("no-input",                "",                 wrong),
    ("start-day-unreadable",    "5 x\n",            wrong),
    ("start-day-missing",       "5\n",              wrong),
    ("day-count-unreadable",    "- 3\n",            tuesday + "\n"),
    ("start-day-huge",          "3 4294967297\n",   wrong),
    ("day-count-huge-negative", "-99999999999 2\n", monday + "\n"),
    ("crlf-line-ends",          "8\r\n2\r\n",       monday + "    1    2    3    4    5    6    7\n"),
    ("answer-starts-with-x",    "x3\n",             wrong),
]

# An answer that makes it write far more than a pipe holds: 29 GB.
LONG_ANSWER = "2147483647 1\n"


def day_line_problem(text, complete=True):
    """None if text is a day line, or the head of one when not complete."""
    if complete:
        if not text.endswith("\n") or text.count("\n") != 1:
            return "the day line does not end with its only line end"
        text = text[:-1]
    blanks = len(text) - len(text.lstrip(" "))
    for lead_in in lead_ins:
        if len(lead_in) not in (blanks, blanks - 4):  # no day, or day 1 follows
            continue
        fields = text[len(lead_in):].split("    ")
        days = fields[1:-1] if not complete else fields[1:]  # a cut field
        if fields[0] == "" and days == list(map(str, range(1, len(days) + 1))):
            return None
    return "not a lead-in and day fields counting up from 1"


def result_problem(result, complete=True):
    """None if result is one of its result forms, or the head of one when not
    complete; else why not."""
    return None if result == wrong else day_line_problem(result, complete)


def listing_problem(output, start_day, last_day):
    head = lead_ins[start_day - 1] + "    1    2"
    if not output.startswith(head) or not output.endswith(f"    {last_day - 1}    {last_day}\n"):
        return f"starts {output[:30]!r}, ends {output[-30:]!r}"
    return day_line_problem(output)


# Outputs too long for the golden table, checked by their structure: long
# listings cross the 9/10, 99/100, ... 999999/1000000 boundaries.
# (typed, check of what follows the prompts)
LONG_OUTPUTS = [(f"1234567 {start_day}", lambda out, start_day=start_day: listing_problem(out, start_day, 1234566))
                for start_day in range(1, 8)]
