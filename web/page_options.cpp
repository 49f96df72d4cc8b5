#include "page_options.h"

#include "settings.h"

// Adds `text` to what the page is told of options it could not take as given.
static void note_problem(PageOptions& options, const std::string& text)
{
    if (!options.problem.empty())
        options.problem += "; ";
    options.problem += text;
}

// Applies the value of the address option in `row` to `options`.
static void apply_option(PageOptions& options, const PageOptionRow& row, const std::string& value)
{
    const std::string given = std::string(row.name) + "=" + value;
    const NumberRead number = row.limit ? read_whole_number(value, *row.limit) : NumberRead{};
    if (row.limit && !number.usable())
        note_problem(options, "ignored " + given + " (expected a whole number)");
    switch (row.option) {
    case PageOption::TRACE:
        options.trace = true;
        break;
    case PageOption::PAUSE:
        options.pause = true;
        break;
    case PageOption::START:
        if (number.usable())
            options.start_tick = static_cast<long>(number.value);
        if (number.reading == Reading::CAPPED)
            note_problem(options,
                         given + " is beyond an hour of show: starting at tick " + std::to_string(row.limit->most));
        break;
    case PageOption::SEED:
        options.seeded = number.usable();
        if (options.seeded)
            options.seed = static_cast<unsigned>(number.value);
        break;
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
        if (const PageOptionRow* row = find_page_option(name))
            apply_option(options, *row, value);
        at = end + 1;
    }
    return options;
}
