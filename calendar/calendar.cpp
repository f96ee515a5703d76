// calendar: asks how many days to lay out and the weekday of the first one,
// then writes the day numbers on one line behind a lead-in for that weekday.
#include "console.hpp"

int main()
{
    console::set_program_name("calendar");

    console::prompt("How many days?");
    int day_count = 0; // an unread count lists no day
    console::read_int(day_count);

    console::prompt("Day to start with? (SUN=1, SAT=7)");
    int start_day = 0; // an unread start day is a wrong number
    console::read_int(start_day);

    // Blanks before the first day, for Sunday (1) to Saturday (7).
    static char const *const lead_ins[] = {
        "", "    ", "      ", "        ", "          ", "            ", "              ",
    };
    if (start_day >= 1 && start_day <= 7) {
        console::write(lead_ins[start_day - 1]);
        for (int day = 1; day < day_count; ++day)
            console::print("    %d", day);
    } else {
        console::write("You have entered wrong number!");
    }
    console::write("\n");
    return console::finish();
}
