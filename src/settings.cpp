#include "settings.h"

#include <cstddef>
#include <cstdlib>

namespace {

// The first row of `rows` that `matches`; null when none does.
template <typename Row, size_t COUNT, typename Match>
const Row* first_row(const Row (&rows)[COUNT], Match matches)
{
    for (const Row& row : rows) {
        if (matches(row))
            return &row;
    }
    return nullptr;
}

}  // namespace

const char* setting_name(Setting setting)
{
    const SettingRow* row = first_row(SETTINGS, [&](const SettingRow& r) { return r.setting == setting; });
    return row ? row->name : "";   // always a row: every Setting has one
}

const char* setting_value(Setting setting)
{
    return std::getenv(setting_name(setting));
}

std::string setting_given(Setting setting, const char* value)
{
    return std::string(setting_name(setting)) + "=" + (value ? value : "");
}

const PageOptionRow* find_page_option(const std::string& name)
{
    return first_row(PAGE_OPTIONS, [&](const PageOptionRow& row) { return name == row.name; });
}

const CaptureOptionRow* find_capture_option(const std::string& word)
{
    return first_row(CAPTURE_OPTIONS,
                     [&](const CaptureOptionRow& row) { return word == row.name || (row.letter && word == row.letter); });
}
