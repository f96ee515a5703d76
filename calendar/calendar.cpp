// calendar: asks how many days to lay out and the weekday of the first one,
// then writes the day numbers on one line behind a lead-in for that weekday.
#include "console.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

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

        // Days 1 to day_count - 1, each as "    %d". A listing can run to
        // gigabytes, so the day is kept as decimal text and counted up in
        // place, and the fields go out through a buffer of bounded size.
        char field[32] = "               1"; // the day's last digit is at [15]
        int field_start = 11;                // four blanks before the digits
        std::size_t constexpr buffer_size = 1 << 16;
        // A run of up to ten fields advances at most 14 bytes a field, but
        // its last copy writes 16: 9 * 14 + 16 = 142 bytes, within this.
        std::size_t constexpr longest_run = 160;
        static char buffer[buffer_size];
        std::size_t used = 0;
        int day = 1;
        while (day < day_count) {
            if (used > buffer_size - longest_run) {
                console::write(buffer, used);
                used = 0;
            }
            // The days up to the next multiple of ten differ only in their
            // last digit: copy the field for each and set that digit. With
            // g++ a fixed 16-byte copy compiles to plain stores (clang++ 14
            // keeps __memcpy_chk); one of the field's own length would be a
            // call.
            auto const field_size = static_cast<std::size_t>(16 - field_start);
            char last_digit = field[15];
            int const run = std::min('9' - last_digit + 1, day_count - day);
            for (int i = 0; i < run; ++i, ++last_digit) {
                // Never true after the flush above, but stated here the
                // bound lets the compiler prove the fortified copy safe and
                // drop its run-time check, which would make the listing
                // several times slower.
                if (used > buffer_size - 16)
                    std::abort();
                // NOLINTNEXTLINE(bugprone-not-null-terminated-result): not a string
                std::memcpy(buffer + used, field + field_start, 16);
                buffer[used + field_size - 1] = last_digit;
                used += field_size;
            }
            day += run;

            field[15] = '0';
            int digit = 14;
            while (field[digit] == '9')
                field[digit--] = '0';
            if (field[digit] == ' ') {
                field[digit] = '1';
                --field_start;
            } else {
                ++field[digit];
            }
        }
        console::write(buffer, used);
    } else {
        console::write("You have entered wrong number!");
    }
    console::write("\n");
    return console::finish();
}
