// The settings people give the programs through their environment, each named once. The modules
// that honour a setting read it here by its row; the capture sets the screen's rows aside; the
// source checks find no setting's name written anywhere else in the code, and each in the docs.
#ifndef SETTINGS_H
#define SETTINGS_H

#include <string>

enum class Setting {
    WINDOW_ID,    // a window another program made for the show (a screensaver's): SDL's own setting
    WINDOW,       // a resizable window of the given size
    FIT,          // full screen at the desktop's size
    START_TICK,   // the tick the show starts at, the ticks before it run undrawn
    DRAW,         // the reference or the fast way of drawing
    EGL_DEVICE,   // the capture's EGL device when it draws off-screen
};

// A setting's row: its name as typed, and whether it says where the frame goes.
struct SettingRow {
    Setting setting;
    const char* name;
    bool places_screen;
};

// Every setting, those that place the screen in the order they are honoured.
constexpr SettingRow SETTINGS[] = {
    {Setting::WINDOW_ID, "SDL_WINDOWID", true},
    {Setting::WINDOW, "QUORAVINT_WINDOW", true},
    {Setting::FIT, "QUORAVINT_FIT", true},
    {Setting::START_TICK, "QUORAVINT_START_TICK", false},
    {Setting::DRAW, "QUORAVINT_DRAW", false},
    {Setting::EGL_DEVICE, "QUORAVINT_EGL_DEVICE", false},
};

// The setting's name as typed in the environment.
const char* setting_name(Setting setting);

// The setting's value in the environment; null when it is not set.
const char* setting_value(Setting setting);

// "NAME=VALUE": how a message names the value a setting was given.
std::string setting_given(Setting setting, const char* value);

#endif
