#include "settings.h"

#include <cstdlib>

const char* setting_name(Setting setting)
{
    for (const SettingRow& row : SETTINGS) {
        if (row.setting == setting)
            return row.name;
    }
    return "";   // unreachable: every Setting has its row
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
    for (const PageOptionRow& row : PAGE_OPTIONS) {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}

const CaptureOptionRow* find_capture_option(const std::string& word)
{
    for (const CaptureOptionRow& row : CAPTURE_OPTIONS) {
        if (word == row.name || (row.letter && word == row.letter))
            return &row;
    }
    return nullptr;
}
