// The show's trace: the running account every module writes of what the show does. It goes to
// standard output unless the host points it elsewhere: a file, a buffer, or nowhere.
#ifndef TRACE_H
#define TRACE_H

#include <ostream>
#include <streambuf>

// The stream the show writes its trace to.
std::ostream& trace();

// Sends the trace from now on into `buffer`, or nowhere with null; returns where it went before
// (null: nowhere).
std::streambuf* send_trace_to(std::streambuf* buffer);

// Sends the trace into a buffer (null: nowhere) while it lives, then back where it went before.
class TraceSentTo {
public:
    explicit TraceSentTo(std::streambuf* buffer) : before(send_trace_to(buffer)) {}
    ~TraceSentTo() { send_trace_to(before); }
    TraceSentTo(const TraceSentTo&) = delete;
    TraceSentTo& operator=(const TraceSentTo&) = delete;

private:
    std::streambuf* before;
};

// The trace goes to standard output from its first line on, which static initialisation writes
// (the scenes are built before main: see sceneswarm.cpp). A host that must send even that
// trace elsewhere does so from a static object of its own with an earlier priority.
constexpr int TRACE_ROUTE_PRIORITY = 1050;   // init_priority of such an object: after the standard
                                             // streams exist (1000), before the scenes are built (1100)

#endif
