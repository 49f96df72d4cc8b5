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

// Where the trace goes from its first line on, before any host code runs: standard output. A host
// that must send even the trace of static initialisation elsewhere defines this function itself.
std::streambuf* first_trace_buffer();

#endif
