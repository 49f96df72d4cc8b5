// What the page's address asks of the show: ?trace, ?start=TICK, ?seed=N, ?pause (?hd picks the
// other program and is the page's business). The same meanings as demo-capture's options.
#ifndef PAGE_OPTIONS_H
#define PAGE_OPTIONS_H

#include <string>

class PageOptions {
public:
    bool trace = false;     // the running trace goes to the browser console
    long start_tick = 0;    // show ticks run undrawn before the first frame, at most an hour's
    bool seeded = false;    // a seed was given
    unsigned seed = 0;      // the seed of the show's random choices, when given
    bool pause = false;     // the show holds its first frame (for stills and comparisons)
    std::string problem;    // why an option was ignored, empty when all were understood
};

// Reads the query part of a page address ("?a=1&b" or "a=1&b"). A bad value is ignored and named
// in `problem`; unknown names are left alone (the page itself reads some).
PageOptions parse_page_options(const std::string& query);

#endif
