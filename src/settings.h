// Everything people type to set the show up, each named once: the programs' environment, the
// page's address and the capture's command line. The code that honours a setting finds it here by
// its row and reads its number against the row's limit (user_number.h); the capture sets the
// screen's rows aside and makes its --help from its rows; the source checks find no name written
// anywhere else in the code, and each one in the docs.
#ifndef SETTINGS_H
#define SETTINGS_H

#include "user_number.h"

#include <string>

// -- the environment ----------------------------------------------------------------------------

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

// -- the page's address -------------------------------------------------------------------------

// The page's address options (?hd, which picks the other program, is the page's own business).
enum class PageOption {
    TRACE,   // the running trace goes to the browser's console
    PAUSE,   // the show holds its first frame
    START,   // the tick of the first frame, as demo-capture's --start
    SEED,    // the seed of the show's random choices, as demo-capture's --seed
};

// An address option's row: its name, and the whole number it takes (null: it is a word alone).
struct PageOptionRow {
    PageOption option;
    const char* name;
    const NumberLimit* limit;
};

constexpr PageOptionRow PAGE_OPTIONS[] = {
    {PageOption::TRACE, "trace", nullptr},
    {PageOption::PAUSE, "pause", nullptr},
    {PageOption::START, "start", &limits::PAGE_START_TICK},
    {PageOption::SEED, "seed", &limits::SEED},
};

// The address option called `name`; null for a name the show leaves to the page.
const PageOptionRow* find_page_option(const std::string& name);

// -- the capture's command line -----------------------------------------------------------------

// The capture's options.
enum class CaptureOption { LENGTH, START, PROFILE, SEED, OUTPUT, PNG, FAST_ENCODE, TRACE, DATA, OFFSCREEN, HELP };

// A capture option's row: its one-letter and long names, what follows it, and its lines of --help.
struct CaptureOptionRow {
    CaptureOption option;
    const char* letter;         // "-l", or null when it has none
    const char* name;           // "--length"
    const char* value;          // what follows it, as --help names it; null for a flag
    const NumberLimit* limit;   // the whole number it takes, or null when it takes other words
    const char* help;           // what it does; a line break goes on in the help's column
};

// Every capture option, in the order --help lists them.
constexpr CaptureOptionRow CAPTURE_OPTIONS[] = {
    {CaptureOption::LENGTH, "-l", "--length", "LENGTH", &limits::LENGTH_TICKS,
     "how much show: seconds (5, 2.5s) or ticks (300t); default 10 s"},
    {CaptureOption::START, "-s", "--start", "TICK", &limits::START_TICK,
     "show tick of the first frame, 0 to 1000000; the ticks before it run\nundrawn; default 0"},
    {CaptureOption::PROFILE, "-p", "--profile", "NAME", nullptr,
     "sd (1024x768) or hd (1920x1080); default this program's own"},
    {CaptureOption::SEED, nullptr, "--seed", "N", &limits::SEED,
     "seed of the show's random choices; default 1, so captures repeat"},
    {CaptureOption::OUTPUT, "-o", "--output", "PATH", nullptr,
     "the video: H.264 + AAC, container from the name; default capture.mp4"},
    {CaptureOption::PNG, nullptr, "--png", nullptr, nullptr,
     "write PATH as a folder of numbered PNG frames (frame-000000.png ...)\n"
     "and the sound as audio.wav; default folder capture-frames"},
    {CaptureOption::FAST_ENCODE, nullptr, "--fast-encode", nullptr, nullptr,
     "encode the video with x264's quickest preset: about twice as fast,\n"
     "files about twice as large; for machines where encoding holds it up"},
    {CaptureOption::TRACE, nullptr, "--trace", "FILE", nullptr,
     "write the show's trace to FILE; otherwise it is dropped"},
    {CaptureOption::DATA, "-d", "--data", "DIR", nullptr,
     "the show's folder (gfx/, sfx/, names.txt); default the working\n"
     "directory. Relative output paths stay relative to where you are"},
    {CaptureOption::OFFSCREEN, nullptr, "--offscreen", nullptr, nullptr,
     "draw off-screen through EGL, with no X server, even when there is a\n"
     "display; without DISPLAY it always does"},
    {CaptureOption::HELP, "-h", "--help", nullptr, nullptr, "this text"},
};

// The capture option `word` names, by its letter or its long name; null for none.
const CaptureOptionRow* find_capture_option(const std::string& word);

#endif
