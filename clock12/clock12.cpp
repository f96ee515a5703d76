// clock12: asks for a time in 24-hour form, hours:minutes, and writes it in
// 12-hour form, with PM after hours above 12.
#include "console.hpp"

int main()
{
    console::set_program_name("clock12");

    console::prompt("Enter the time in 24-hour format: ");
    int hour = 0;
    int minute = 0;
    // Like "%d:%d": the colon must follow the hour at once.
    bool const have_time =
        console::read_int(hour) && console::read_char(':') && console::read_int(minute);

    if (have_time) {
        if (hour <= 12) {
            console::print("The time you've entered in 12-hour format is: %d : %d", hour, minute);
        } else {
            int const twelve_hour = hour - 12;
            console::print("The time you've entered in 12-hour format is: %d : %d PM", twelve_hour,
                           minute);
        }
    }
    return console::finish();
}
