// Shared helpers of the test suites.
#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include "trace.h"

#include <iostream>
#include <sstream>
#include <string>

// Captures the show's trace while it lives.
class TraceCapture {
public:
    TraceCapture() : sent(captured.rdbuf()) {}
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // The trace written so far.
    std::string text() const { return captured.str(); }
    // Forgets the trace written so far.
    void clear() { captured.str(""); }

private:
    std::ostringstream captured;
    TraceSentTo sent;
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

// Drops the show's trace while it lives: for long runs whose trace nobody reads.
class TraceSilencer : public TraceSentTo {
public:
    TraceSilencer() : TraceSentTo(nullptr) {}
};

// Number of non-overlapping occurrences of `needle` in `haystack`.
int count_occurrences(const std::string& haystack, const std::string& needle);

#endif
