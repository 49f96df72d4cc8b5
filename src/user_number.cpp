#include "user_number.h"

namespace {

constexpr long long SATURATED = LLONG_MAX;   // stands for any number too long for 64 bits

// Whether `c` is a decimal digit (isdigit would depend on the locale).
bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

// Digits only, accumulated with saturation, then placed against the limit.
NumberRead read_whole_number(const std::string& text, const NumberLimit& limit)
{
    NumberRead read;
    if (text.empty())
        return read;
    long long number = 0;
    for (const char c : text) {
        if (!is_digit(c))
            return read;
        const int digit = c - '0';
        number = number > (SATURATED - digit) / 10 ? SATURATED : number * 10 + digit;
    }
    if (number < limit.least) {
        read.reading = Reading::TOO_SMALL;
    } else if (number <= limit.most) {
        read.reading = Reading::TAKEN;
        read.value = number;
    } else if (limit.beyond == Beyond::CAP) {
        read.reading = Reading::CAPPED;
        read.value = limit.most;
    } else {
        read.reading = Reading::TOO_LARGE;
    }
    return read;
}

// The range in plain digits, as people type it.
std::string range_text(const NumberLimit& limit)
{
    return "from " + std::to_string(limit.least) + " to " + std::to_string(limit.most);
}
