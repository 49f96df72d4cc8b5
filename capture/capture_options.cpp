#include "capture_options.h"

#include "user_number.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr CaptureProfile PROFILES[] = {
    {"sd", "1024x768", "demo-capture"},
    {"hd", "1920x1080", "demo-capture-hd"},
};

// A command-line word split into its option name and, for "--name=value", the attached value.
struct Word {
    std::string name;
    std::string value;
    bool has_value = false;
};

// Splits "--name=value" into name and value; other words are names alone.
Word split_word(const char* text)
{
    Word word;
    const char* equals = std::strchr(text, '=');
    if (std::strncmp(text, "--", 2) == 0 && equals) {
        word.name.assign(text, equals);
        word.value = equals + 1;
        word.has_value = true;
    } else {
        word.name = text;
    }
    return word;
}

// Reads a whole number within `limit` into `value`; false for anything else.
bool read_count(const std::string& text, const NumberLimit& limit, long& value)
{
    const NumberRead number = read_whole_number(text, limit);
    value = static_cast<long>(number.value);
    return number.usable();
}

// Reads a length: seconds ("5", "2.5s") or ticks ("300t"), as a whole number of ticks of at least one.
bool read_length(const std::string& text, long& ticks, std::string& problem)
{
    problem = "bad length '" + text + "': give seconds (5, 2.5s) or ticks (300t), at most " +
              std::to_string(limits::LENGTH_TICKS.most) + " ticks";
    if (!text.empty() && text.back() == 't')
        return read_count(text.substr(0, text.size() - 1), limits::LENGTH_TICKS, ticks);
    const std::string number = !text.empty() && text.back() == 's' ? text.substr(0, text.size() - 1) : text;
    if (number.empty() || !(std::isdigit(static_cast<unsigned char>(number[0])) || number[0] == '.'))
        return false;
    char* end = nullptr;
    const double seconds = std::strtod(number.c_str(), &end);
    if (*end != '\0' || !std::isfinite(seconds) || seconds * TICKS_PER_SECOND > limits::LENGTH_TICKS.most)
        return false;
    ticks = std::lround(seconds * TICKS_PER_SECOND);
    return ticks >= limits::LENGTH_TICKS.least;
}

// Takes the value of option `word`: attached with '=' or the next word; false if there is none.
bool take_value(const Word& word, int argc, char** argv, int& i, std::string& value)
{
    if (word.has_value) {
        value = word.value;
        return true;
    }
    if (i + 1 >= argc)
        return false;
    value = argv[++i];
    return true;
}

// Applies one option that carries a value; false with `problem` set if the option or its value is bad.
bool apply_valued(const std::string& name, const std::string& value, CaptureOptions& options, std::string& problem)
{
    long number = 0;
    if (name == "-l" || name == "--length")
        return read_length(value, options.length_ticks, problem);
    if (name == "-s" || name == "--start") {
        problem = "bad start tick '" + value + "': give a whole number of ticks " + range_text(limits::START_TICK);
        return read_count(value, limits::START_TICK, options.start_tick);
    }
    if (name == "--seed") {
        problem = "bad seed '" + value + "': give a whole number " + range_text(limits::SEED);
        const bool ok = read_count(value, limits::SEED, number);
        options.seed = static_cast<unsigned>(number);
        return ok;
    }
    if (name == "-p" || name == "--profile") {
        problem = "unknown profile '" + value + "': give sd (1024x768) or hd (1920x1080)";
        options.profile = value;
        return find_profile(value) != nullptr;
    }
    problem = "an empty " + name + " value";
    if (name == "-o" || name == "--output")
        options.output = value;
    else if (name == "-d" || name == "--data")
        options.data_dir = value;
    else
        options.trace_path = value;
    return !value.empty();
}

// Whether option `name` takes a value.
bool takes_value(const std::string& name)
{
    static const std::vector<std::string> valued = {"-l", "--length", "-s", "--start", "--seed", "-p",
                                                    "--profile", "-o", "--output", "--trace", "-d", "--data"};
    for (const std::string& v : valued)
        if (v == name)
            return true;
    return false;
}

// Applies one option without a value; false with `problem` set if it is unknown.
bool apply_flag(const Word& word, CaptureOptions& options, std::string& problem)
{
    if (word.has_value) {
        problem = "option " + word.name + " takes no value";
        return false;
    }
    if (word.name == "-h" || word.name == "--help")
        options.help = true;
    else if (word.name == "--png")
        options.kind = OutputKind::PNG_FRAMES;
    else if (word.name == "--fast-encode")
        options.fast_encode = true;
    else if (word.name == "--offscreen")
        options.offscreen = true;
    else {
        problem = "unknown option '" + word.name + "' (see --help)";
        return false;
    }
    return true;
}

// Completes the options once each is read: the output's default follows the kind of output.
void complete(CaptureOptions& options)
{
    if (options.output.empty())
        options.output = options.kind == OutputKind::VIDEO ? DEFAULT_VIDEO : DEFAULT_FRAME_FOLDER;
}

}  // namespace

bool parse_options(int argc, char** argv, CaptureOptions& options, std::string& problem)
{
    for (int i = 1; i < argc; ++i) {
        const Word word = split_word(argv[i]);
        if (!takes_value(word.name)) {
            if (!apply_flag(word, options, problem))
                return false;
            continue;
        }
        std::string value;
        if (!take_value(word, argc, argv, i, value)) {
            problem = "option " + word.name + " needs a value (see --help)";
            return false;
        }
        if (!apply_valued(word.name, value, options, problem))
            return false;
    }
    complete(options);
    return true;
}

const CaptureProfile* find_profile(const std::string& name)
{
    for (const CaptureProfile& profile : PROFILES)
        if (name == profile.name || name == profile.size)
            return &profile;
    return nullptr;
}

const CaptureProfile* profile_of_size(int width, int height)
{
    return find_profile(std::to_string(width) + "x" + std::to_string(height));
}

std::string help_text(const std::string& program)
{
    return "Usage: " + program + " [options]\n"
           "Captures the show frame by frame: one logic tick and one frame per 1/60 s of show time,\n"
           "with the show's own sound mixed tick by tick, however long a frame takes to draw.\n"
           "\n"
           "  -l, --length LENGTH   how much show: seconds (5, 2.5s) or ticks (300t); default 10 s\n"
           "  -s, --start TICK      show tick of the first frame, 0 to 1000000; the ticks before it run\n"
           "                        undrawn; default 0\n"
           "  -p, --profile NAME    sd (1024x768) or hd (1920x1080); default this program's own\n"
           "      --seed N          seed of the show's random choices; default 1, so captures repeat\n"
           "  -o, --output PATH     the video: H.264 + AAC, container from the name; default capture.mp4\n"
           "      --png             write PATH as a folder of numbered PNG frames (frame-000000.png ...)\n"
           "                        and the sound as audio.wav; default folder capture-frames\n"
           "      --fast-encode     encode the video with x264's quickest preset: about twice as fast,\n"
           "                        files about twice as large; for machines where encoding holds it up\n"
           "      --trace FILE      write the show's trace to FILE; otherwise it is dropped\n"
           "  -d, --data DIR        the show's folder (gfx/, sfx/, names.txt); default the working\n"
           "                        directory. Relative output paths stay relative to where you are\n"
           "      --offscreen       draw off-screen through EGL, with no X server, even when there is a\n"
           "                        display; without DISPLAY it always does\n"
           "  -h, --help            this text\n"
           "\n"
           "Run it from the show's folder or name that folder with --data. Videos need ffmpeg on the PATH.\n"
           "It draws with OpenGL: in a window like the show's when there is an X display, otherwise\n"
           "off-screen through EGL (Mesa's surfaceless platform; QUORAVINT_EGL_DEVICE=N picks EGL\n"
           "device N instead, e.g. a GPU). No X server is needed:\n"
           "  ./" + program + " --length 30 -o show.mp4\n";
}
