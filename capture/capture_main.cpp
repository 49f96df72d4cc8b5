// demo-capture: the show captured frame by frame, its clock the tick counter instead of wall time.
//
// Initialization: options, profile, trace, output, the show's own start-up, the seed.
// Update: one logic tick, and the mixer run for exactly that tick's share of the sound.
// Draw: the tick's frame, read back from the back buffer, then presented.
#include "capture_options.h"
#include "capture_output.h"
#include "frame_grab.h"
#include "lockstep_sound.h"
#include "offscreen_gl.h"
#include "progress.h"
#include "trace_route.h"

#include "gfx.h"
#include "host_services.h"
#include "main.h"
#include "sceneswarm.h"
#include "screen.h"
#include "settings.h"
#include "showfiles.h"
#include "sound.h"

#include <SDL/SDL.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int CAPTURE_FAILED = 1;            // exit status when the capture cannot be made
constexpr int BAD_COMMAND_LINE = 2;          // exit status of a bad option, as most tools use
constexpr int SIGNAL_STATUS_BASE = 128;      // a capture stopped by signal N ends with 128 + N, as the shell reports it
constexpr double PROGRESS_INTERVAL = 0.25;   // seconds between progress bar updates
constexpr const char* ASSET_PROBE = NAMES_FILE;   // the show's file that marks its folder

using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t stop_requested = 0;   // the signal that asked to finish early (Escape: SIGINT), or 0
bool starting_show = false;                      // inside the show's own start-up, which may exit

// Prints "demo-capture: <message>" on standard error.
void report(const std::string& message)
{
    std::fprintf(stderr, "demo-capture: %s\n", message.c_str());
}

// Reports `message` and ends the program with `status`; only for failures before the output is open.
[[noreturn]] void fail(const std::string& message, int status = CAPTURE_FAILED)
{
    report(message);
    std::exit(status);
}

// The program's name as started, without its folder.
std::string program_name(const char* argv0)
{
    const std::string path = argv0 ? argv0 : "demo-capture";
    return path.substr(path.rfind('/') + 1);
}

// Explains an exit from inside the show's start-up, whose own messages went to the trace.
void explain_failed_start()
{
    if (starting_show)
        std::fprintf(stderr, "demo-capture: the show could not start (%s); it needs a GL context: "
                             "a window on the X display, or off-screen through EGL (see --help)\n", SDL_GetError());
}

// Asks the capture loop to stop after the current frame, remembering why.
void request_stop(int signal)
{
    stop_requested = signal;
}

// Seconds since `since`.
double seconds_since(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// ---------------------------------------------------------------------------
// Initialization

// The options of the command line; a bad one ends the program with a one-line reason.
CaptureOptions read_command_line(int argc, char** argv)
{
    CaptureOptions options;
    std::string problem;
    if (!parse_options(argc, argv, options, problem))
        fail(problem, BAD_COMMAND_LINE);
    return options;
}

// The folder this program was started from, where its sibling programs are.
std::string own_folder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string exe(path, static_cast<size_t>(length));
    return exe.substr(0, exe.rfind('/'));
}

// Hands over to the capture program of the asked-for profile when it is not this one's.
void run_profile_program(const CaptureOptions& options, char** argv)
{
    const CaptureProfile* own = profile_of_size(SCREEN_WIDTH, SCREEN_HEIGHT);
    const CaptureProfile* wanted = options.profile.empty() ? own : find_profile(options.profile);
    if (wanted == own)
        return;
    const std::string program = own_folder() + "/" + wanted->program;
    execv(program.c_str(), argv);
    fail("cannot start " + program + " for profile " + wanted->name + ": " + std::strerror(errno));
}

// Opens the user's working directory, to come back to once the show's files are read.
int remember_working_directory()
{
    const int folder = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        fail("cannot open the working directory: " + std::string(std::strerror(errno)));
    return folder;
}

// Ends the program: `data_dir` cannot serve as the show's folder, for the reason in errno.
[[noreturn]] void unusable_data_folder(const std::string& data_dir)
{
    fail("cannot use " + data_dir + " as the show's folder: " + std::strerror(errno));
}

// Fails unless the show's files are in `data_dir` (empty: the working directory); checked before
// anything is written, so a wrong folder leaves no output behind.
void check_data_folder(const std::string& data_dir)
{
    struct stat info;
    if (!data_dir.empty() && stat(data_dir.c_str(), &info) != 0)
        unusable_data_folder(data_dir);
    const std::string probe = data_dir.empty() ? ASSET_PROBE : data_dir + "/" + ASSET_PROBE;
    if (access(probe.c_str(), R_OK) == 0)
        return;
    if (data_dir.empty())
        fail("run it from the show's folder or name it with --data: no gfx/, sfx/ and names.txt here");
    fail("no show files in " + data_dir + ": the show's folder holds gfx/, sfx/ and names.txt");
}

// Runs the show's start-up inside the show's folder, which reads every file the show needs, then
// returns to the user's folder, so relative output paths stay relative to where the user stands.
void init_in_data_folder(const std::string& data_dir)
{
    const int user_folder = remember_working_directory();
    if (!data_dir.empty() && chdir(data_dir.c_str()) != 0)
        unusable_data_folder(data_dir);
    std::atexit(explain_failed_start);
    starting_show = true;
    init();
    starting_show = false;
    if (fchdir(user_folder) != 0)
        fail("cannot return to the working directory: " + std::string(std::strerror(errno)));
    close(user_folder);
}

// Takes the screen's settings away from the show, saying once which were set: the capture reads
// back the profile's frame from the corner of the drawable, so it must draw exactly that frame,
// never one fitted into another window.
void ignore_screen_settings()
{
    std::string ignored;
    for (const SettingRow& row : SETTINGS) {
        if (!row.places_screen)
            continue;
        const char* value = setting_value(row.setting);
        if (value && *value)
            ignored += (ignored.empty() ? "" : ", ") + setting_given(row.setting, value);
        unsetenv(row.name);
    }
    if (!ignored.empty())
        report("ignoring " + ignored + ": the capture draws the profile's " + std::to_string(SCREEN_WIDTH) + "x" +
               std::to_string(SCREEN_HEIGHT) + " frame exactly");
}

// Runs the show's start-up as the show does, with the sound device left to the capture loop.
void start_show(const CaptureOptions& options)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);   // SDL starts its audio with the rest but the capture opens no device
    // sdl12-compat draws a full-screen OpenGL mode into a framebuffer object of its own, to scale it
    // to the window; Mesa's software rasteriser blends a few pixels a frame one colour step apart
    // there. Drawn straight into the window, the frames are those drawn off-screen byte for byte.
    // Classic SDL has no such setting.
    setenv("SDL12COMPAT_OPENGL_SCALING", "0", 1);
    ignore_screen_settings();
    if (wants_offscreen(options.offscreen, std::getenv("DISPLAY")))
        make_context_with(make_show_context_offscreen);
    init_in_data_folder(options.data_dir);
    seed_show_random(options.seed);
    if (!lockstep_sound_open())
        fail("the sound could not start: " + sound_error());
}

// Ends the capture early, with its files finished, on Ctrl-C, a termination request or a hang-up
// (the terminal closed): the frames so far are kept, and the status says the capture is short.
void stop_on_signals()
{
    std::signal(SIGINT, request_stop);
    std::signal(SIGTERM, request_stop);
    std::signal(SIGHUP, request_stop);
    std::signal(SIGPIPE, SIG_IGN);   // a failed ffmpeg shows as a failed write, not a silent death
}

// Everything before the first tick: the hand-over to the other profile's program, the trace, the
// output's checks, the show's start-up and the output's files. Any failure ends the program.
void initialize(const CaptureOptions& options, char** argv, CaptureOutput& output)
{
    run_profile_program(options, argv);
    check_data_folder(options.data_dir);
    if (!route_trace(options.trace_path))
        fail("cannot write the trace to " + options.trace_path + ": " + std::strerror(errno));
    if (!output.check())
        fail(output.error());
    stop_on_signals();
    start_show(options);
    if (!output.open(AUDIO_RATE, AUDIO_CHANNELS))
        fail(output.error());
}

// ---------------------------------------------------------------------------
// Update

// Runs one logic tick of the show and mixes that tick's share of the sound onto `sound`.
void update_tick(std::vector<int16_t>& sound)
{
    const long tick = sceneswarm.showticks;
    do_logic();
    mix_tick(tick, sound);
}

// Runs the ticks before the first captured one without drawing; their sound is mixed and dropped,
// so the song and any effect still ringing are where the show has them.
void fast_forward(long start_tick)
{
    std::vector<int16_t> dropped;
    run_to_tick(start_tick, [&](long tick) {
        mix_tick(tick, dropped);
        dropped.clear();
        return !stop_requested;
    });
}

// Drops the window's events; Escape or the window's close request end the capture early.
void drain_window_events()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT || (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE))
            stop_requested = SIGINT;   // ended by hand, as by Ctrl-C
    }
}

// ---------------------------------------------------------------------------
// Draw

// Draws the frame of the tick just run, reads it back into `rgb`, then presents it.
void draw_tick(std::vector<uint8_t>& rgb)
{
    draw_frame();
    read_back_buffer(SCREEN_WIDTH, SCREEN_HEIGHT, rgb);
    present_frame();
}

// Redraws the progress bar in place.
void show_progress(long done, long total, double seconds)
{
    const double fps = seconds > 0 ? done / seconds : 0.0;
    std::fprintf(stderr, "\r%s", progress_line(done, total, sceneswarm.showticks, fps).c_str());
}

// Captures `total` ticks, one frame and one tick of sound each; returns the frames made, or -1 when
// the output fails (its error() says why).
long capture(CaptureOutput& output, long total)
{
    std::vector<int16_t> sound;
    std::vector<uint8_t> rgb;
    const Clock::time_point start = Clock::now();
    double shown = 0.0;
    long done = 0;
    for (; done < total && !stop_requested; ++done) {
        drain_window_events();
        hold_tick_input(keys_held());
        sound.clear();
        update_tick(sound);
        draw_tick(rgb);
        if (!output.add_sound(sound) || !output.add_frame(rgb))
            return -1;
        if (seconds_since(start) - shown >= PROGRESS_INTERVAL) {
            shown = seconds_since(start);
            show_progress(done + 1, total, shown);
        }
    }
    show_progress(done, total, seconds_since(start));
    std::fputc('\n', stderr);
    return done;
}

// Runs the capture: the ticks before the start undrawn, then the captured ones; finishes the output
// and prints the speed. Returns the program's exit status.
int run_capture(const CaptureOptions& options, CaptureOutput& output)
{
    const Clock::time_point skip_start = Clock::now();
    fast_forward(options.start_tick);
    const double skip_seconds = seconds_since(skip_start);
    const Clock::time_point capture_start = Clock::now();
    const long frames = capture(output, options.length_ticks);
    const double capture_seconds = seconds_since(capture_start);
    if (frames < 0 || !output.finish()) {
        std::fputc('\n', stderr);
        report(output.error());
        return CAPTURE_FAILED;
    }
    std::fprintf(stderr, "%s\n", speed_summary(frames, options.start_tick, capture_seconds, skip_seconds).c_str());
    if (frames < options.length_ticks) {
        // Never a success over a short capture: the status is the shell's for the signal.
        report("stopped by " + std::string(strsignal(stop_requested)) + " after " + std::to_string(frames) + " of " +
               std::to_string(options.length_ticks) + " frames: " + options.output + " holds those");
        return SIGNAL_STATUS_BASE + stop_requested;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // SDL ends at exit, as in the show, however the capture ends: its window and threads go before
    // the libraries unload (sdl12-compat unloads SDL 2 at exit).
    std::atexit(SDL_Quit);
    const CaptureOptions options = read_command_line(argc, argv);
    if (options.help) {
        std::fputs(help_text(program_name(argv[0])).c_str(), stdout);
        return 0;
    }
    CaptureOutput output(options, SCREEN_WIDTH, SCREEN_HEIGHT);
    initialize(options, argv, output);
    return run_capture(options, output);
}
