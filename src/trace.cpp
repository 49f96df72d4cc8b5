#include "trace.h"

#include <iostream>

namespace {

// The trace stream, which hands what it still holds to its buffer when the program ends, as
// std::cout does.
class TraceStream : public std::ostream {
public:
    explicit TraceStream(std::streambuf* buffer) : std::ostream(buffer) {}
    ~TraceStream() override { flush(); }
};

}  // namespace

// Made on the first trace line, which static initialisation may write before main, on standard
// output's own buffer, so the trace and anything written to std::cout keep their order.
std::ostream& trace()
{
    static TraceStream stream(std::cout.rdbuf());
    return stream;
}

// A null buffer leaves the stream failed (rdbuf sets badbit), so writes cost only the check that drops them.
std::streambuf* send_trace_to(std::streambuf* buffer)
{
    return trace().rdbuf(buffer);
}
