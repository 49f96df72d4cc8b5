#include "progress.h"

#include "capture_options.h"

#include <cstdio>

namespace {

constexpr int BAR_WIDTH = 24;          // characters of the bar: fits an 80-column terminal with the figures
constexpr int SECONDS_PER_MINUTE = 60;

// Frames per second as a share of the show's real-time rate.
double real_time_share(double frames_per_second)
{
    return frames_per_second / TICKS_PER_SECOND;
}

}  // namespace

std::string show_time(long tick)
{
    const long minutes = tick / (TICKS_PER_SECOND * SECONDS_PER_MINUTE);
    const double seconds = static_cast<double>(tick % (TICKS_PER_SECOND * SECONDS_PER_MINUTE)) / TICKS_PER_SECOND;
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%05.2f", minutes, seconds);
    return text;
}

std::string progress_line(long done, long total, long tick, double frames_per_second)
{
    const int filled = total > 0 ? static_cast<int>(done * BAR_WIDTH / total) : BAR_WIDTH;
    const std::string bar = std::string(filled, '#') + std::string(BAR_WIDTH - filled, '-');
    char text[160];
    std::snprintf(text, sizeof text, "[%s] %ld/%ld frames  show %s  %.1f fps (%.2fx real time)", bar.c_str(), done,
                  total, show_time(tick).c_str(), frames_per_second, real_time_share(frames_per_second));
    return text;
}

std::string speed_summary(long frames, long first_tick, double seconds, double skip_seconds)
{
    const double fps = seconds > 0 ? frames / seconds : 0.0;
    char text[256];
    std::snprintf(text, sizeof text,
                  "captured %ld frames (show %s to %s) in %.2f s: %.1f frames per second (%.2fx real time)", frames,
                  show_time(first_tick).c_str(), show_time(first_tick + frames).c_str(), seconds, fps,
                  real_time_share(fps));
    std::string summary = text;
    if (first_tick > 0) {
        std::snprintf(text, sizeof text, "; the %ld ticks before ran undrawn in %.2f s", first_tick, skip_seconds);
        summary += text;
    }
    return summary;
}
