// Measuring the show's trace: a stream buffer that counts what the show's trace writes.
#ifndef BENCH_TRACE_METER_H
#define BENCH_TRACE_METER_H

#include "trace.h"

#include <streambuf>

// Counts the bytes and line ends written to it, then forgets them.
class CountingBuffer : public std::streambuf {
public:
    CountingBuffer();

    // Bytes written so far.
    long long bytes();
    // Line ends written so far.
    long long lines();

protected:
    int overflow(int c) override;
    int sync() override;

private:
    static constexpr int CAPACITY = 4096;   // bytes gathered before they are counted: one scan per block
    char block[CAPACITY];
    long long counted_bytes = 0;
    long long counted_lines = 0;

    // Counts the gathered bytes and empties the block.
    void tally();
};

// Sends the show's trace into a CountingBuffer while it lives.
class MeteredTrace {
public:
    MeteredTrace() : sent(&counter) {}
    MeteredTrace(const MeteredTrace&) = delete;
    MeteredTrace& operator=(const MeteredTrace&) = delete;

    // Bytes of trace written since construction.
    long long bytes() { return counter.bytes(); }
    // Lines of trace written since construction.
    long long lines() { return counter.lines(); }

private:
    CountingBuffer counter;
    TraceSentTo sent;
};

#endif
