// evensum: writes the sum of the even numbers from 0 to 9.
#include "console.hpp"

int main()
{
    console::set_program_name("evensum");

    int sum = 0;
    for (int counter = 0; counter <= 9; ++counter) {
        if ((counter & 1) == 0)
            sum += counter;
    }
    console::print("%d\n", sum);
    return console::finish();
}
