// Other programs the capture runs: ffmpeg, fed through a pipe or run to completion.
#ifndef CHILD_PROCESS_H
#define CHILD_PROCESS_H

#include <cstdio>
#include <string>
#include <sys/types.h>
#include <vector>

// A running program whose standard input this program writes.
struct ChildProcess {
    pid_t pid = -1;
    FILE* input = nullptr;
};

// Whether `program` is an executable file in one of the PATH's folders.
bool program_on_path(const std::string& program);

// Starts `args` (args[0] looked up on the PATH) with a pipe to its standard input; false if it cannot start.
bool start_with_input_pipe(const std::vector<std::string>& args, ChildProcess& child);

// Closes the child's input and waits for it; true when it exited with status 0.
bool finish_child(ChildProcess& child);

// Runs `args` (args[0] looked up on the PATH) to its end; true when it exited with status 0.
bool run_program(const std::vector<std::string>& args);

#endif
