#include "capture_output.h"

#include "rgb_frame.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* ENCODER = "ffmpeg";              // Debian's ffmpeg, found on the PATH
constexpr const char* X264_PRESET = "veryfast";        // keeps encoding from slowing the capture much
constexpr const char* X264_FAST_PRESET = "ultrafast";  // --fast-encode: half veryfast's CPU time at 1920 x 1080
constexpr const char* X264_QUALITY = "18";             // CRF near visually lossless: specks and dots survive
constexpr const char* AAC_BITRATE = "96k";             // ample for 11025 Hz stereo
constexpr const char* PICTURE_SUFFIX = ".picture.mkv"; // the temporary H.264 picture beside the output
constexpr const char* SOUND_SUFFIX = ".sound.wav";     // the temporary sound beside the output
constexpr const char* PARTIAL_PREFIX = ".partial-";    // the video being muxed, renamed to the output when whole
constexpr const char* FOLDER_SOUND = "audio.wav";      // the sound in a frame folder
constexpr mode_t NEW_FILE_MODE = 0644;                 // files the probe creates, as fopen would
constexpr mode_t NEW_FOLDER_MODE = 0755;               // the frame folder, as mkdir(1) would

// Whether `path` ends with `suffix`.
bool ends_with(const std::string& path, const std::string& suffix)
{
    return path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Whether the output is an MP4-family file, whose index can be moved to the front for streaming.
bool is_mp4_family(const std::string& path)
{
    return ends_with(path, ".mp4") || ends_with(path, ".m4v") || ends_with(path, ".mov");
}

constexpr const char* FRAME_PREFIX = "frame-";   // png_frame_name's: frame-NNNNNN.png
constexpr const char* FRAME_SUFFIX = ".png";

// The number of the frame file `name` (frame-NNNNNN.png), or -1 when it is none.
long frame_number(const std::string& name)
{
    const size_t digits_at = std::strlen(FRAME_PREFIX);
    if (name.size() != png_frame_name(0).size() || name.compare(0, digits_at, FRAME_PREFIX) != 0 ||
        !ends_with(name, FRAME_SUFFIX))
        return -1;
    const std::string digits = name.substr(digits_at, name.size() - digits_at - std::strlen(FRAME_SUFFIX));
    return digits.find_first_not_of("0123456789") == std::string::npos ? std::stol(digits) : -1;
}

// A file of this run beside `path`, its name prefixed, so the name's extension stays the last.
std::string beside(const std::string& path, const std::string& prefix)
{
    const size_t slash = path.rfind('/');
    const size_t name = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, name) + prefix + path.substr(name);
}

}  // namespace

CaptureOutput::CaptureOutput(const CaptureOptions& options, int width, int height)
    : options(options), width(width), height(height)
{
    // Named for this run: two captures side by side, or an earlier one killed, never share them.
    const std::string run = "." + std::to_string(getpid());
    if (options.kind == OutputKind::VIDEO) {
        picture_path = options.output + run + PICTURE_SUFFIX;
        sound_path = options.output + run + SOUND_SUFFIX;
        partial_path = beside(options.output, PARTIAL_PREFIX + std::to_string(getpid()) + "-");
    } else {
        sound_path = in_folder(FOLDER_SOUND);
    }
}

CaptureOutput::~CaptureOutput()
{
    if (encoder.pid >= 0) {   // stopped before finish: leave no half-made files behind
        finish_child(encoder);
        sound.close();
        remove_temporaries();
    }
}

const std::string& CaptureOutput::error() const
{
    return last_error;
}

bool CaptureOutput::failed(const std::string& message)
{
    last_error = message;
    return false;
}

std::string CaptureOutput::in_folder(const std::string& name) const
{
    return options.output + "/" + name;
}

bool CaptureOutput::can_create(const std::string& path)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, NEW_FILE_MODE);
    const bool created = fd >= 0;
    if (!created && errno == EEXIST)
        fd = ::open(path.c_str(), O_WRONLY);
    if (fd < 0)
        return failed("cannot write " + path + ": " + std::strerror(errno));
    ::close(fd);
    if (created)
        ::unlink(path.c_str());
    return true;
}

bool CaptureOutput::make_frame_folder()
{
    struct stat info;
    if (stat(options.output.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return holds_only_captures();
    if (mkdir(options.output.c_str(), NEW_FOLDER_MODE) != 0)
        return failed("cannot make the frame folder " + options.output + ": " + std::strerror(errno));
    return true;
}

bool CaptureOutput::holds_only_captures()
{
    DIR* folder = opendir(options.output.c_str());
    if (!folder)
        return failed("cannot read the frame folder " + options.output + ": " + std::strerror(errno));
    // Frames of a longer earlier capture would be left among this one's, seeming part of it.
    std::string foreign, beyond;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || name == FOLDER_SOUND)
            continue;
        const long frame = frame_number(name);
        if (frame < 0) {
            foreign = name;
            break;
        }
        if (frame >= options.length_ticks)
            beyond = name;
    }
    closedir(folder);
    if (!foreign.empty())
        return failed("the frame folder " + options.output + " holds other files than frames (" + foreign +
                      "): name a new or empty folder");
    if (!beyond.empty())
        return failed("the frame folder " + options.output + " holds frames of a longer capture (" + beyond +
                      "), which would stay among this one's: name a new or empty folder");
    return true;
}

bool CaptureOutput::check()
{
    if (options.kind == OutputKind::PNG_FRAMES)
        return make_frame_folder() && can_create(sound_path);
    if (!program_on_path(ENCODER))
        return failed("ffmpeg not found on the PATH: install it (apt-get install ffmpeg) or capture PNG frames with --png");
    return can_create(options.output) && can_create(partial_path) && can_create(picture_path);
}

bool CaptureOutput::start_encoder()
{
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::vector<std::string> args = {
        ENCODER, "-hide_banner", "-loglevel", "error", "-y",
        "-f", "rawvideo", "-pix_fmt", "rgb24", "-video_size", size, "-framerate", std::to_string(TICKS_PER_SECOND),
        "-i", "-",
        "-c:v", "libx264", "-preset", options.fast_encode ? X264_FAST_PRESET : X264_PRESET, "-crf", X264_QUALITY, "-pix_fmt", "yuv420p", picture_path};
    if (!start_with_input_pipe(args, encoder))
        return failed("cannot start ffmpeg: " + std::string(std::strerror(errno)));
    return true;
}

bool CaptureOutput::open(int audio_rate, int audio_channels)
{
    if (!sound.open(sound_path, audio_rate, audio_channels))
        return failed("cannot write " + sound_path + ": " + std::strerror(errno));
    if (options.kind == OutputKind::PNG_FRAMES || start_encoder())
        return true;
    sound.close();
    remove_temporaries();
    return false;
}

bool CaptureOutput::add_frame(const std::vector<uint8_t>& rgb)
{
    const long number = frames++;
    if (options.kind == OutputKind::PNG_FRAMES) {
        const std::string path = in_folder(png_frame_name(number));
        return write_png_frame(path, rgb, width, height) || failed("cannot write " + path);
    }
    if (std::fwrite(rgb.data(), 1, rgb.size(), encoder.input) != rgb.size())
        return failed("ffmpeg stopped taking frames (see its message above)");
    return true;
}

bool CaptureOutput::add_sound(const std::vector<int16_t>& samples)
{
    return sound.append(samples) || failed("cannot write " + sound_path + ": " + std::strerror(errno));
}

bool CaptureOutput::mux()
{
    std::vector<std::string> args = {
        ENCODER, "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
        "-i", picture_path, "-i", sound_path, "-map", "0:v:0", "-map", "1:a:0",
        "-c:v", "copy", "-c:a", "aac", "-b:a", AAC_BITRATE};
    if (is_mp4_family(options.output)) {
        args.push_back("-movflags");
        args.push_back("+faststart");
    }
    args.push_back(partial_path);
    if (!run_program(args))
        return failed("ffmpeg could not put picture and sound into " + options.output);
    if (std::rename(partial_path.c_str(), options.output.c_str()) != 0)
        return failed("cannot write " + options.output + ": " + std::strerror(errno));
    return true;
}

void CaptureOutput::remove_temporaries()
{
    ::unlink(picture_path.c_str());
    ::unlink(sound_path.c_str());
    if (!partial_path.empty())
        ::unlink(partial_path.c_str());
}

bool CaptureOutput::finish()
{
    if (!sound.close())
        return failed("cannot finish " + sound_path + ": " + std::strerror(errno));
    if (options.kind == OutputKind::PNG_FRAMES)
        return true;
    if (!finish_child(encoder)) {
        remove_temporaries();
        return failed("ffmpeg could not encode the frames (see its message above)");
    }
    const bool muxed = mux();
    remove_temporaries();
    return muxed;
}
