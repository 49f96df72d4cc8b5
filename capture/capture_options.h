// The capture's command line: how much of the show to capture, from which tick, at which
// screen profile and seed, and where the frames and the sound go.
#ifndef CAPTURE_OPTIONS_H
#define CAPTURE_OPTIONS_H

#include "ticks.h"

#include <string>

constexpr unsigned DEFAULT_SEED = 1;            // the C library's own starting seed: captures agree unless asked
constexpr long DEFAULT_LENGTH_TICKS = 600;      // ten seconds of show
constexpr const char* DEFAULT_VIDEO = "capture.mp4";        // H.264 + AAC in MP4
constexpr const char* DEFAULT_FRAME_FOLDER = "capture-frames";  // numbered PNG frames and audio.wav

// What the capture writes.
enum class OutputKind { VIDEO, PNG_FRAMES };

// One screen profile: its names on the command line and the capture program built for it.
struct CaptureProfile {
    const char* name;      // short name on the command line
    const char* size;      // the window size, also accepted as the profile's name
    const char* program;   // the capture program of this profile, in the run folder beside the others
};

// Everything the command line decides.
struct CaptureOptions {
    long length_ticks = DEFAULT_LENGTH_TICKS;   // frames to capture, one per tick
    long start_tick = 0;                        // show tick of the first frame
    unsigned seed = DEFAULT_SEED;               // seed of the show's random choices after start-up
    std::string profile;                        // requested profile name; empty for the program's own
    OutputKind kind = OutputKind::VIDEO;
    std::string output;                         // the video file or the frame folder
    std::string trace_path;                     // where the show's trace goes; empty: nowhere
    std::string data_dir;                       // the folder of the show's files; empty: the working directory
    bool fast_encode = false;                   // x264's quickest preset: twice the encoding speed, larger files
    bool offscreen = false;                     // draw through EGL off-screen even when there is a display
    bool help = false;
};

// Reads the command line into `options`; on a bad option returns false with a one-line reason in `problem`.
bool parse_options(int argc, char** argv, CaptureOptions& options, std::string& problem);

// The profile called `name` (short name or window size), or null.
const CaptureProfile* find_profile(const std::string& name);

// The profile whose window is width x height, or null.
const CaptureProfile* profile_of_size(int width, int height);

// Every profile by name and size, "sd (1024x768) or hd (1920x1080)", as messages and --help give them.
std::string profile_choices();

// The text of --help for the program called `program`.
std::string help_text(const std::string& program);

#endif
