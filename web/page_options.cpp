#include "page_options.h"

#include "ticks.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

constexpr long LARGEST_START = TICKS_PER_SECOND * 60L * 60;   // an hour of show: the browser runs its ticks in
                                                              // about half a minute before the first frame;
                                                              // further is not worth the wait

// Whether `text` is a whole decimal number: digits only, no sign, no blanks.
static bool whole_number(const std::string& text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Reads a whole decimal number of at most `largest` into `value`, in 64 bits whatever the platform's
// long (32 bits on wasm32); false for anything else, a larger number included.
static bool read_count(const std::string& text, unsigned long long largest, unsigned long long& value)
{
    if (!whole_number(text))
        return false;
    errno = 0;
    const unsigned long long number = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE || number > largest)
        return false;
    value = number;
    return true;
}

// Notes that option `name` with `value` was ignored.
static void note_problem(PageOptions& options, const std::string& name, const std::string& value)
{
    if (!options.problem.empty())
        options.problem += "; ";
    options.problem += "ignored " + name + "=" + value + " (expected a whole number)";
}

// Notes that the start tick `value` was brought down to the largest one taken.
static void note_capped(PageOptions& options, const std::string& value)
{
    if (!options.problem.empty())
        options.problem += "; ";
    options.problem += "start=" + value + " is beyond an hour of show: starting at tick " + std::to_string(LARGEST_START);
}

// Applies one name=value pair of the query.
static void apply_option(PageOptions& options, const std::string& name, const std::string& value)
{
    unsigned long long number = 0;
    if (name == "trace") {
        options.trace = true;
    } else if (name == "pause") {
        options.pause = true;
    } else if (name == "start") {
        if (read_count(value, LARGEST_START, number)) {
            options.start_tick = static_cast<long>(number);
        } else if (whole_number(value)) {   // any larger whole number, however many digits
            options.start_tick = LARGEST_START;
            note_capped(options, value);
        } else {
            note_problem(options, name, value);
        }
    } else if (name == "seed") {
        options.seeded = read_count(value, UINT_MAX, number);
        if (options.seeded)
            options.seed = static_cast<unsigned>(number);
        else
            note_problem(options, name, value);
    }
}

PageOptions parse_page_options(const std::string& query)
{
    PageOptions options;
    size_t at = query.empty() || query[0] != '?' ? 0 : 1;
    while (at < query.size()) {
        size_t end = query.find('&', at);
        if (end == std::string::npos)
            end = query.size();
        const std::string pair = query.substr(at, end - at);
        const size_t equals = pair.find('=');
        const std::string name = pair.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : pair.substr(equals + 1);
        apply_option(options, name, value);
        at = end + 1;
    }
    return options;
}
