#ifndef SHOW_END_H
#define SHOW_END_H

// How the show ends with an exit status (Escape, a quit request, a start-up it cannot finish): its
// host may be told first, then the process ends as any program does. The programs ask to be told
// nothing; the browser shows its end card, which the process's end alone does not reach there.

// What a host is told, with the status, just before the show ends.
using ShowEndHook = void (*)(int status);

// Sets the function the host is told with before the show ends (null: none).
void tell_host_at_show_end(ShowEndHook hook);

// Ends the show with `status`, telling the host first.
[[noreturn]] void end_show(int status);

#endif
