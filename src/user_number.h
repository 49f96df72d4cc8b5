// The whole numbers people type into the show's settings, options and page address: one reader,
// and one table of what each number may be. A number is digits only: no sign, no blanks, no
// fraction; one too long for 64 bits is still a number, only a very large one.
#ifndef USER_NUMBER_H
#define USER_NUMBER_H

#include <climits>
#include <string>

// What becomes of a number beyond its largest value.
enum class Beyond { REFUSE, CAP };

// The values one number may take.
struct NumberLimit {
    long long least;
    long long most;
    Beyond beyond;
};

// How a text was read.
enum class Reading { TAKEN, CAPPED, NOT_A_NUMBER, TOO_SMALL, TOO_LARGE };

// A reading and, when TAKEN or CAPPED, the value taken.
struct NumberRead {
    Reading reading = Reading::NOT_A_NUMBER;
    long long value = 0;

    // Whether a value was taken, capped or not.
    bool usable() const { return reading == Reading::TAKEN || reading == Reading::CAPPED; }
};

// Every number people type, with its range and the reason for it.
namespace limits {
// The start tick of the programs and the capture: about 4.6 hours of show; the ticks before it run
// undrawn, and skipping more would take minutes.
constexpr NumberLimit START_TICK = {0, 1000000, Beyond::REFUSE};
// The page's ?start: an hour of show, capped; the browser runs those ticks in about half a minute
// before its first frame, and further is not worth the wait.
constexpr NumberLimit PAGE_START_TICK = {0, 60L * 60 * 60, Beyond::CAP};
// A seed of the C library's generator, which takes an unsigned int.
constexpr NumberLimit SEED = {0, UINT_MAX, Beyond::REFUSE};
// A capture's length in ticks: at least a frame, and it must end within the show's int tick counter.
constexpr NumberLimit LENGTH_TICKS = {1, INT_MAX - START_TICK.most, Beyond::REFUSE};
// A window's width and height: a screensaver's preview pane is about the smallest, a 4K desktop the
// largest drawable the show is made for.
constexpr NumberLimit WINDOW_WIDTH = {200, 3840, Beyond::REFUSE};
constexpr NumberLimit WINDOW_HEIGHT = {150, 2160, Beyond::REFUSE};
// QUORAVINT_EGL_DEVICE, the capture's EGL device: more devices than any machine has GPUs.
constexpr NumberLimit EGL_DEVICE = {0, 15, Beyond::REFUSE};
}  // namespace limits

// Reads `text` as a whole number within `limit`.
NumberRead read_whole_number(const std::string& text, const NumberLimit& limit);

// "from LEAST to MOST", for messages.
std::string range_text(const NumberLimit& limit);

#endif
