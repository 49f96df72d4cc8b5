// Reading a running program's trace: its main-loop passes, the ticks they ran, the frames they
// drew and the real time the catch-up limit dropped.
#ifndef BENCH_PASS_METER_H
#define BENCH_PASS_METER_H

#include <cstddef>
#include <string>

// What a trace tells about the main loop.
struct PassFigures {
    long passes = 0;               // "CT: " lines
    long ticks = 0;                // "logic " tokens after the first pass began
    long frames = 0;               // passes that drew: the first, and every one that ran a tick
    long mismatched_passes = 0;    // passes whose tick count differs from the loop's clock arithmetic
    double first_ms = 0.0;         // pass time of the first pass
    double last_ms = 0.0;          // pass time of the last pass
    double startup_dropped_ms = 0.0;   // real time the first pass dropped (start-up before the loop)
    double dropped_ms = 0.0;       // real time later passes dropped
    long dropping_passes = 0;      // later passes that dropped time
    long long bytes = 0;           // trace bytes read
    long long lines = 0;           // trace line ends read

    // Seconds between the first and the last pass.
    double span_seconds() const { return (last_ms - first_ms) / 1000.0; }
};

// Reads a trace as it arrives, piece by piece.
class PassMeter {
public:
    // Reads the next `size` bytes of the trace.
    void feed(const char* data, std::size_t size);
    // Ends the trace: the last pass is counted.
    PassFigures finish();

private:
    static constexpr const char* PASS_MARK = "CT: ";     // begins a pass, the pass time follows
    static constexpr const char* TICK_MARK = "logic ";   // written once per tick

    PassFigures figures;
    std::string tail;            // the last bytes read, enough to hold either mark
    std::string pass_time;       // digits of the pass time being read
    bool reading_time = false;   // between "CT: " and its line end
    bool in_pass = false;        // a pass has begun
    long pass_ticks = 0;         // "logic " tokens of the pass being read
    double clock_last = 0.0;     // the loop's lastFrameTime, replayed
    double clock_carry = 0.0;    // the loop's cyclesLeftOver, replayed
    long clock_ticks = 0;        // ticks the replayed clock gives the pass being read

    void read_char(char c);
    // Whether the bytes read so far end with `mark`.
    bool tail_ends_with(const char* mark) const;
    // Starts a pass at time `now`: closes the one before and replays the loop's clock.
    void begin_pass(double now);
    // Counts the pass that has been read.
    void close_pass();
};

#endif
