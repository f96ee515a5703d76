// read_check: reads each input file FOLDER/0 to FOLDER/<count - 1> four
// times, as the console facility and as the C library's scanf read answers,
// and writes a line for each: what each conversion assigned ("-" for
// nothing) and, in hex, the input left unread. check.py's "reads" check
// compares the lines.
//   read_check FOLDER COUNT
#include "console.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void reopen_input(std::string const &path)
{
    if (std::freopen(path.c_str(), "rb", stdin) == nullptr) {
        std::perror(path.c_str());
        std::exit(2);
    }
}

void report(char const *way, bool first_assigned, int first, bool second_assigned, int second)
{
    console::print("%s ", way);
    if (first_assigned)
        console::print("%d ", first);
    else
        console::write("- ");
    if (second_assigned)
        console::print("%d ", second);
    else
        console::write("- ");
    for (int c = console::next_char(); c != EOF; c = console::next_char())
        console::print("%02x", static_cast<unsigned>(c));
    console::write("\n");
}

} // namespace

int main(int argc, char **argv)
{
    console::set_program_name("read_check");
    if (argc != 3)
        return 2;
    long const count = std::strtol(argv[2], nullptr, 10);
    for (long number = 0; number < count; ++number) {
        std::string const path = std::string(argv[1]) + "/" + std::to_string(number);
        int first = 0;
        int second = 0;

        // Two numbers, each read on its own, as calendar asks for them.
        reopen_input(path);
        bool const first_read = console::read_int(first);
        bool const second_read = console::read_int(second);
        report("two console", first_read, first, second_read, second);
        reopen_input(path);
        int const first_scanned = std::scanf("%d", &first);   // NOLINT(cert-err34-c): the reference
        int const second_scanned = std::scanf("%d", &second); // NOLINT(cert-err34-c)
        report("two scanf", first_scanned == 1, first, second_scanned == 1, second);

        // A time, as clock12 asks for it.
        reopen_input(path);
        bool const hour_read = console::read_int(first);
        bool const minute_read = hour_read && console::read_char(':') && console::read_int(second);
        report("time console", hour_read, first, minute_read, second);
        reopen_input(path);
        int const scanned = std::scanf("%d:%d", &first, &second); // NOLINT(cert-err34-c)
        report("time scanf", scanned >= 1, first, scanned == 2, second);
    }
    return console::finish();
}
