#include "trace_route.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

constexpr int EARLY_PRIORITY = 1050;   // after the standard streams (1000), before the scenes are built (1100)
constexpr size_t SCRATCH_BYTES = 4096; // the dropped trace's scratch area: one overflow per 4 KiB

// A stream buffer that drops everything: it writes into a scratch area it keeps reusing.
class DroppingBuffer : public std::streambuf {
public:
    DroppingBuffer() { reuse(); }

protected:
    // The scratch area is full: start it over.
    int overflow(int c) override
    {
        reuse();
        return traits_type::not_eof(c);
    }

private:
    // Points the put area at the whole scratch area again.
    void reuse() { setp(scratch, scratch + SCRATCH_BYTES); }

    char scratch[SCRATCH_BYTES];
};

// Holds the trace written before main, from the scenes' construction on.
class EarlyTrace {
public:
    EarlyTrace() : held(new std::stringbuf) { std::cout.rdbuf(held); }
    std::stringbuf* held;   // never freed: cout may still point here while the program ends
};

std::ios_base::Init streams_ready __attribute__((init_priority(1000)));
EarlyTrace early __attribute__((init_priority(EARLY_PRIORITY)));

}  // namespace

bool route_trace(const std::string& path)
{
    if (path.empty()) {
        std::cout.rdbuf(new DroppingBuffer);   // kept to the end, as cout flushes into it on exit
        early.held->str("");
        return true;
    }
    std::ofstream* file = new std::ofstream(path, std::ios::binary);   // kept to the end, like the buffer above
    if (!*file) {
        delete file;
        return false;
    }
    *file << early.held->str();
    early.held->str("");
    std::cout.rdbuf(file->rdbuf());
    return true;
}
