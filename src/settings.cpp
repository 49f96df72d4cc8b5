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
