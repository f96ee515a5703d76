"""Each program's dialogue: its prompts, a typical answer to each and the
exact result that follows. The other checks take the prompts and the answers
from here."""

# program: ([(prompt, typed line), ...], result)
DIALOGUES = {
    "calendar": ([("How many days?", "8"), ("Day to start with? (SUN=1, SAT=7)", "2")],
                 "        1    2    3    4    5    6    7\n"),
    "lettergrade": ([("Enter the numerical grade: ", "85")], "The grade is : B"),
    "clock12": ([("Enter the time in 24-hour format: ", "15:40")],
                "The time you've entered in 12-hour format is: 3 : 40 PM"),
    "digitcount": ([("Enter the number: ", "42")], "The number has two digits"),
    "evensquares": ([("Enter the number?", "50")], "4\n16\n36\n"),
    "evensum": ([], "20\n"),
}


def prompts(program):
    return [prompt for prompt, _ in DIALOGUES[program][0]]


def typed_answers(program):
    """The typical answers, one line each, as bytes."""
    return "".join(line + "\n" for _, line in DIALOGUES[program][0]).encode()


def after_prompts(program, output):
    """What follows the program's prompts in output, or None if they are not first."""
    written = "".join(prompts(program))
    return output[len(written):] if output.startswith(written) else None
