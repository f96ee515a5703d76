// The day listing written the plain way, one printf call per field: the
// reference that calendar's own buffered writer is measured against.
// Reads the day count and the start day, without prompts, as calendar does.
#include "console.hpp"

#include <cstdio>

int main()
{
    int day_count = 0;
    int start_day = 0;
    if (!console::read_int(day_count) || !console::read_int(start_day) || start_day < 1 ||
        start_day > 7)
        return 2;
    static int const lead_in_widths[] = {0, 4, 6, 8, 10, 12, 14};
    std::printf("%*s", lead_in_widths[start_day - 1], "");
    for (int day = 1; day < day_count; ++day)
        std::printf("    %d", day);
    std::printf("\n");
    return std::fflush(stdout) == 0 ? 0 : 1;
}
