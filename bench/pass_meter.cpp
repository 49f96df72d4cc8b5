#include "pass_meter.h"

#include "driver.h"

#include <cstdlib>
#include <cstring>

constexpr std::size_t TAIL_KEEP = 8;   // bytes of tail kept: longer than either mark

void PassMeter::feed(const char* data, std::size_t size)
{
    figures.bytes += static_cast<long long>(size);
    for (std::size_t i = 0; i < size; ++i)
        read_char(data[i]);
}

bool PassMeter::tail_ends_with(const char* mark) const
{
    const std::size_t length = std::strlen(mark);
    return tail.size() >= length && tail.compare(tail.size() - length, length, mark) == 0;
}

void PassMeter::read_char(char c)
{
    if (c == '\n')
        figures.lines += 1;
    if (reading_time) {
        if (c != '\n') {
            pass_time += c;
            return;
        }
        reading_time = false;
        begin_pass(std::strtod(pass_time.c_str(), nullptr));
        return;
    }
    tail += c;
    if (tail.size() > TAIL_KEEP)
        tail.erase(0, tail.size() - TAIL_KEEP);
    if (tail_ends_with(PASS_MARK)) {
        reading_time = true;
        pass_time.clear();
        tail.clear();
    } else if (in_pass && tail_ends_with(TICK_MARK)) {
        pass_ticks += 1;
    }
}

void PassMeter::begin_pass(double now)
{
    if (in_pass)
        close_pass();
    else
        figures.first_ms = now;
    // The loop's own arithmetic (main_pass): what is dropped, then how many ticks run.
    clock_ticks = 0;
    const double dropped = spend_pass_time(now - clock_last, clock_carry, [&](double) { clock_ticks += 1; });
    clock_last = now;
    if (figures.passes == 0) {
        figures.startup_dropped_ms = dropped;
    } else if (dropped > 0.0) {
        figures.dropped_ms += dropped;
        figures.dropping_passes += 1;
    }
    figures.passes += 1;
    figures.last_ms = now;
    in_pass = true;
    pass_ticks = 0;
}

void PassMeter::close_pass()
{
    figures.ticks += pass_ticks;
    if (pass_ticks > 0 || figures.passes == 1)
        figures.frames += 1;
    if (pass_ticks != clock_ticks)
        figures.mismatched_passes += 1;
}

PassFigures PassMeter::finish()
{
    if (in_pass)
        close_pass();
    in_pass = false;
    return figures;
}
