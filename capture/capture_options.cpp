#include "capture_options.h"

#include "capture_profiles.h"
#include "settings.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace {

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

// Reads a length: seconds ("5", "2.5s") or ticks ("300t"), as a whole number of ticks within `limit`.
bool read_length(const std::string& text, const NumberLimit& limit, long& ticks, std::string& problem)
{
    problem = "bad length '" + text + "': give seconds (5, 2.5s) or ticks (300t), at most " +
              std::to_string(limit.most) + " ticks";
    if (!text.empty() && text.back() == 't')
        return read_count(text.substr(0, text.size() - 1), limit, ticks);
    const std::string number = !text.empty() && text.back() == 's' ? text.substr(0, text.size() - 1) : text;
    if (number.empty() || !(std::isdigit(static_cast<unsigned char>(number[0])) || number[0] == '.'))
        return false;
    char* end = nullptr;
    const double seconds = std::strtod(number.c_str(), &end);
    if (*end != '\0' || !std::isfinite(seconds) || seconds * TICKS_PER_SECOND > limit.most)
        return false;
    ticks = std::lround(seconds * TICKS_PER_SECOND);
    return ticks >= limit.least;
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

// Applies option `row`, typed as `typed`, with its `value` when it takes one; false with `problem`
// set if the value is bad.
bool apply_option(const CaptureOptionRow& row, const std::string& typed, const std::string& value,
                  CaptureOptions& options, std::string& problem)
{
    long number = 0;
    switch (row.option) {
    case CaptureOption::LENGTH:
        return read_length(value, *row.limit, options.length_ticks, problem);
    case CaptureOption::START:
        problem = "bad start tick '" + value + "': give a whole number of ticks " + range_text(*row.limit);
        return read_count(value, *row.limit, options.start_tick);
    case CaptureOption::SEED: {
        problem = "bad seed '" + value + "': give a whole number " + range_text(*row.limit);
        const bool ok = read_count(value, *row.limit, number);
        options.seed = static_cast<unsigned>(number);
        return ok;
    }
    case CaptureOption::PROFILE:
        problem = "unknown profile '" + value + "': give " + profile_choices();
        options.profile = value;
        return find_profile(value) != nullptr;
    case CaptureOption::OUTPUT:
        options.output = value;
        break;
    case CaptureOption::DATA:
        options.data_dir = value;
        break;
    case CaptureOption::TRACE:
        options.trace_path = value;
        break;
    case CaptureOption::PNG:
        options.kind = OutputKind::PNG_FRAMES;
        return true;
    case CaptureOption::FAST_ENCODE:
        options.fast_encode = true;
        return true;
    case CaptureOption::OFFSCREEN:
        options.offscreen = true;
        return true;
    case CaptureOption::HELP:
        options.help = true;
        return true;
    }
    problem = "an empty " + typed + " value";
    return !value.empty();
}

// The options' lines of --help: each option's names, then what it does in a column of its own.
std::string options_help()
{
    constexpr size_t MARGIN = 2;         // blanks before each option
    constexpr size_t LETTER_WIDTH = 4;   // "-l, "
    constexpr size_t NAME_WIDTH = 18;    // "--length LENGTH" and the gap after the longest
    const std::string margin(MARGIN, ' ');
    const std::string help_indent(MARGIN + LETTER_WIDTH + NAME_WIDTH, ' ');
    std::string text;
    for (const CaptureOptionRow& row : CAPTURE_OPTIONS) {
        std::string letter = row.letter ? std::string(row.letter) + ", " : "";
        std::string names = std::string(row.name) + (row.value ? std::string(" ") + row.value : "");
        letter.resize(LETTER_WIDTH, ' ');
        names.append(names.size() < NAME_WIDTH ? NAME_WIDTH - names.size() : 1, ' ');   // never cut a name
        std::string help = row.help;
        for (size_t at = help.find('\n'); at != std::string::npos; at = help.find('\n', at + 1))
            help.insert(at + 1, help_indent);
        text += margin + letter + names + help + "\n";
    }
    return text;
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
        const CaptureOptionRow* row = find_capture_option(word.name);
        if (!row) {
            problem = "unknown option '" + word.name + "' (see --help)";
            return false;
        }
        std::string value;
        if (!row->value && word.has_value) {
            problem = "option " + word.name + " takes no value";
            return false;
        }
        if (row->value && !take_value(word, argc, argv, i, value)) {
            problem = "option " + word.name + " needs a value (see --help)";
            return false;
        }
        if (!apply_option(*row, word.name, value, options, problem))
            return false;
    }
    complete(options);
    return true;
}

const CaptureProfile* find_profile(const std::string& name)
{
    for (const CaptureProfile& profile : CAPTURE_PROFILES)
        if (name == profile.name || name == profile.size)
            return &profile;
    return nullptr;
}

const CaptureProfile* profile_of_size(int width, int height)
{
    return find_profile(std::to_string(width) + "x" + std::to_string(height));
}

std::string profile_choices()
{
    std::string choices;
    const size_t count = std::size(CAPTURE_PROFILES);
    for (size_t i = 0; i < count; ++i) {
        const char* joint = i == 0 ? "" : i + 1 == count ? " or " : ", ";
        choices += joint + std::string(CAPTURE_PROFILES[i].name) + " (" + CAPTURE_PROFILES[i].size + ")";
    }
    return choices;
}

std::string help_text(const std::string& program)
{
    return "Usage: " + program + " [options]\n"
           "Captures the show frame by frame: one logic tick and one frame per 1/60 s of show time,\n"
           "with the show's own sound mixed tick by tick, however long a frame takes to draw.\n"
           "\n" +
           options_help() +
           "\n"
           "Run it from the show's folder or name that folder with --data. Videos need ffmpeg on the PATH.\n"
           "It draws with OpenGL: in a window like the show's when there is an X display, otherwise\n"
           "off-screen through EGL (Mesa's surfaceless platform; QUORAVINT_EGL_DEVICE=N picks EGL\n"
           "device N instead, e.g. a GPU). No X server is needed:\n"
           "  ./" + program + " --length 30 -o show.mp4\n";
}
