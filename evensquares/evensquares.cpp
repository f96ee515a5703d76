// evensquares: asks for a limit and writes the squares of 2, 4, 6 and so on
// that lie below it, one per line.
#include "console.hpp"

int main()
{
    console::set_program_name("evensquares");

    console::prompt("Enter the number?");
    int limit = 0; // an unread limit lists nothing
    console::read_int(limit);

    // 46340 squared is the largest even square an int holds; stopping there
    // keeps limits above it from overflowing.
    int const largest_root = 46340;
    for (int counter = 2; counter <= limit && counter <= largest_root; counter += 2) {
        int const square = counter * counter;
        if (square >= limit)
            break;
        console::print("%d\n", square);
    }
    return console::finish();
}
