#include "show_end.h"

#include <cstdlib>

static ShowEndHook host_hook = nullptr;   // the host's, if it asked to be told

void tell_host_at_show_end(ShowEndHook hook)
{
    host_hook = hook;
}

void end_show(int status)
{
    if (host_hook)
        host_hook(status);
    std::exit(status);
}
