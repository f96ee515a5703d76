// console.hpp: the console input and output that the six programs share.
//
// read_int() reads a whole number the way scanf's "%d" does, except that a
// number beyond the range of int is clamped to the nearest end instead of
// being undefined. When standard output cannot be written, or standard
// input cannot be read, the program ends with status 1 and one
// "<program>: write error: <reason>" or "<program>: read error: <reason>"
// line on stderr, so that lost output or unread input is never reported as
// success. On Linux it ends at the call that fails; Windows' C runtime may
// report a failed write only at a later flush, so there it may write on
// until then. The end of input is not an error.
#pragma once

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace console {

inline char const *program_name = "";

inline void set_program_name(char const *name)
{
    program_name = name;
}

// `what` is "read" or "write".
[[noreturn]] inline void fail(char const *what)
{
    int const error = errno != 0 ? errno : EIO;
    // If stderr fails too, nothing is left to tell; the status still says it.
    (void)std::fprintf(stderr, "%s: %s error: %s\n", program_name, what, std::strerror(error));
    // _Exit, not exit, so that nothing more is written: exit would flush
    // stdout, and what a buffer holds after a failed write is the C
    // library's own choice (glibc drops it; another may write it again).
    std::_Exit(1);
}

inline void write(char const *text)
{
    if (std::fputs(text, stdout) == EOF)
        fail("write");
}

inline void write(char const *data, std::size_t size)
{
    if (std::fwrite(data, 1, size, stdout) != size)
        fail("write");
}

// A C variadic, so that the compiler checks each format against its values.
[[gnu::format(printf, 1, 2)]] inline void print(char const *format, ...) // NOLINT(cert-dcl50-cpp)
{
    va_list arguments;
    va_start(arguments, format);
    int const written = std::vfprintf(stdout, format, arguments);
    va_end(arguments);
    if (written < 0)
        fail("write");
}

// The error flag too: Windows' C runtime can lose a write through a
// temporary buffer and still have printf and fflush report success.
inline void flush()
{
    if (std::fflush(stdout) == EOF || std::ferror(stdout) != 0)
        fail("write");
}

// A prompt must be on the screen, or in the pipe, before the program waits.
inline void prompt(char const *text)
{
    write(text);
    flush();
}

// Everything written must have reached the system before main returns 0.
inline int finish()
{
    flush();
    return 0;
}

// The next character of input, or EOF at its end.
inline int next_char()
{
    int const c = std::getchar();
    if (c == EOF && std::ferror(stdin) != 0)
        fail("read");
    return c;
}

// Skips white space, takes an optional sign and the digits that follow, and
// leaves the first character that cannot continue the number unread. Returns
// false, and leaves `value` as it was, when no digit is found.
inline bool read_int(int &value)
{
    int c = next_char();
    while (std::isspace(c) != 0)
        c = next_char();
    bool const negative = c == '-';
    if (c == '-' || c == '+')
        c = next_char();
    if (std::isdigit(c) == 0) {
        (void)std::ungetc(c, stdin); // one character of pushback always succeeds
        return false;
    }
    // Every digit is consumed, but the magnitude stops growing just past
    // the int range, so that it cannot overflow.
    long long constexpr beyond_range = INT_MAX + 1LL;
    long long magnitude = 0;
    for (; std::isdigit(c) != 0; c = next_char()) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > beyond_range)
            magnitude = beyond_range;
    }
    (void)std::ungetc(c, stdin);
    if (negative)
        value = magnitude >= beyond_range ? INT_MIN : static_cast<int>(-magnitude);
    else
        value = magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
    return true;
}

// Takes the next character only if it is `expected`, as a plain character
// in a scanf format does.
inline bool read_char(char expected)
{
    int const c = next_char();
    if (c == static_cast<unsigned char>(expected))
        return true;
    (void)std::ungetc(c, stdin);
    return false;
}

} // namespace console
