#include "trace_route.h"

#include "trace.h"

#include <fstream>
#include <sstream>

namespace {

// The trace written before route_trace decides where it goes, from the scenes' construction on.
std::stringbuf& held_trace()
{
    static std::stringbuf* held = new std::stringbuf;   // never freed: the trace may write here while the program ends
    return *held;
}

// Sends the trace into the held buffer when it is constructed, before the scenes are built.
class HoldTraceFromTheStart {
public:
    HoldTraceFromTheStart() { send_trace_to(&held_trace()); }
};

// The capture holds the trace from its first line on, instead of writing it to standard output.
HoldTraceFromTheStart hold_from_the_start __attribute__((init_priority(TRACE_ROUTE_PRIORITY)));

}  // namespace

bool route_trace(const std::string& path)
{
    if (path.empty()) {
        send_trace_to(nullptr);
        held_trace().str("");
        return true;
    }
    std::ofstream* file = new std::ofstream(path, std::ios::binary);   // kept to the end, as the trace flushes into it on exit
    if (!*file) {
        delete file;
        return false;
    }
    *file << held_trace().str();
    held_trace().str("");
    send_trace_to(file->rdbuf());
    return true;
}
