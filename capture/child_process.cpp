#include "child_process.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The arguments as the NUL-terminated array posix_spawn takes.
std::vector<char*> argument_array(const std::vector<std::string>& args)
{
    std::vector<char*> array;
    for (const std::string& arg : args)
        array.push_back(const_cast<char*>(arg.c_str()));
    array.push_back(nullptr);
    return array;
}

// Waits for `pid`; true when it exited with status 0.
bool exited_cleanly(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Starts `argv` in a process group of its own: Ctrl-C at the terminal, or a signal to the capture's
// whole group, then reaches only the capture, which still needs ffmpeg to finish the files.
int spawn_apart(pid_t& pid, const std::vector<char*>& argv, const posix_spawn_file_actions_t* actions)
{
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int failed = posix_spawnp(&pid, argv[0], actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    return failed;
}

}  // namespace

bool program_on_path(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

bool start_with_input_pipe(const std::vector<std::string>& args, ChildProcess& child)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    std::vector<char*> argv = argument_array(args);
    const int failed = spawn_apart(child.pid, argv, &actions);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[0]);
    if (failed) {
        close(ends[1]);
        return false;
    }
    child.input = fdopen(ends[1], "wb");
    return child.input != nullptr;
}

bool finish_child(ChildProcess& child)
{
    if (child.pid < 0)
        return false;
    const bool flushed = !child.input || std::fclose(child.input) == 0;
    child.input = nullptr;
    const bool clean = exited_cleanly(child.pid);
    child.pid = -1;
    return flushed && clean;
}

bool run_program(const std::vector<std::string>& args)
{
    std::vector<char*> argv = argument_array(args);
    pid_t pid = -1;
    if (spawn_apart(pid, argv, nullptr) != 0)
        return false;
    return exited_cleanly(pid);
}
