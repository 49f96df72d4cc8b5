// Where the capture sends the show's trace. From its first line on, written while the scenes are
// built before main, the trace is held in memory; route_trace then sends what was held, and
// everything after, to a file, or drops it all.
#ifndef TRACE_ROUTE_H
#define TRACE_ROUTE_H

#include <string>

// Sends the trace to the file at `path`, or nowhere when `path` is empty; false if the file cannot be written.
bool route_trace(const std::string& path);

#endif
