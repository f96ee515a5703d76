"""evensum: what the checks know of it. It asks for nothing."""

DIALOGUE = []
RESULT = "20\n"

# (case, typed, exact output)
GOLDEN = [
    ("sum",        "",     "20\n"),
    ("input-left", "5 7\n", "20\n"),
]
