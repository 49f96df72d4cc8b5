#include "page_options.h"

#include "user_number.h"

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
    options.problem += "start=" + value + " is beyond an hour of show: starting at tick " +
                       std::to_string(limits::PAGE_START_TICK.most);
}

// Applies one name=value pair of the query.
static void apply_option(PageOptions& options, const std::string& name, const std::string& value)
{
    if (name == "trace") {
        options.trace = true;
    } else if (name == "pause") {
        options.pause = true;
    } else if (name == "start") {
        const NumberRead start = read_whole_number(value, limits::PAGE_START_TICK);
        if (!start.usable())
            note_problem(options, name, value);
        else
            options.start_tick = static_cast<long>(start.value);
        if (start.reading == Reading::CAPPED)
            note_capped(options, value);
    } else if (name == "seed") {
        const NumberRead seed = read_whole_number(value, limits::SEED);
        options.seeded = seed.usable();
        if (options.seeded)
            options.seed = static_cast<unsigned>(seed.value);
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
