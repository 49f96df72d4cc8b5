// Shared helpers of the test suites.
#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <iostream>
#include <sstream>
#include <string>

// Captures everything written to std::cout while it lives, by swapping cout's buffer.
class TraceCapture {
public:
    TraceCapture() : saved(std::cout.rdbuf(captured.rdbuf())) {}
    ~TraceCapture() { std::cout.rdbuf(saved); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // The trace written so far.
    std::string text() const { return captured.str(); }
    // Forgets the trace written so far.
    void clear() { captured.str(""); }

private:
    std::ostringstream captured;
    std::streambuf* saved;
};

// Captures everything written to std::cerr while it lives: the programs' messages to the user.
class ErrorCapture {
public:
    ErrorCapture() : saved(std::cerr.rdbuf(captured.rdbuf())) {}
    ~ErrorCapture() { std::cerr.rdbuf(saved); }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    // What was written so far.
    std::string text() const { return captured.str(); }

private:
    std::ostringstream captured;
    std::streambuf* saved;
};

// Discards std::cout while it lives: for long runs whose trace nobody reads.
class TraceSilencer {
public:
    TraceSilencer();
    ~TraceSilencer();
    TraceSilencer(const TraceSilencer&) = delete;
    TraceSilencer& operator=(const TraceSilencer&) = delete;

private:
    std::streambuf* saved;
};

// Number of non-overlapping occurrences of `needle` in `haystack`.
int count_occurrences(const std::string& haystack, const std::string& needle);

#endif
