// digitcount: asks for a number and says whether it has one, two or three
// digits; numbers outside 0 to 999 get no answer.
#include "console.hpp"

int main()
{
    console::set_program_name("digitcount");

    console::prompt("Enter the number: ");
    int number = 0;
    if (console::read_int(number)) {
        if (number == 0)
            console::write("The number has one digit");
        if (number > 0 && number <= 9)
            console::write("The number has one digit");
        if (number > 9 && number <= 99)
            console::write("The number has two digits");
        if (number > 99 && number <= 999)
            console::write("The number has three digits");
    }
    return console::finish();
}
