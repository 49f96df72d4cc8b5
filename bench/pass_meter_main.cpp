// Reads a show program's trace on standard input and prints what its main loop did:
// ticks and frames per second and the real time dropped by the catch-up limit.
#include "pass_meter.h"

#include <cstdio>

namespace {

constexpr std::size_t READ_BLOCK = 1 << 16;   // bytes read from the pipe at a time

// Prints the figures of one program's run under `label`.
void print_figures(const char* label, const PassFigures& f)
{
    const double seconds = f.span_seconds();
    if (seconds <= 0.0) {
        std::printf("%s: no main-loop passes in the trace\n", label);
        return;
    }
    std::printf("%-8s %7.1f s %8.1f ticks/s %8.1f frames/s %9.0f ms dropped (%ld passes) %8.0f ms at start-up"
                " %7.2f MB/s %8.0f lines/s %ld passes %ld off the clock\n",
                label, seconds, f.ticks / seconds, f.frames / seconds, f.dropped_ms, f.dropping_passes,
                f.startup_dropped_ms, f.bytes / seconds / 1e6, f.lines / seconds, f.passes, f.mismatched_passes);
}

}

// Usage: program | pass-meter <label>
int main(int argc, char** argv)
{
    PassMeter meter;
    static char block[READ_BLOCK];
    std::size_t got;
    while ((got = std::fread(block, 1, READ_BLOCK, stdin)) > 0)
        meter.feed(block, got);
    print_figures(argc > 1 ? argv[1] : "program", meter.finish());
    return 0;
}
