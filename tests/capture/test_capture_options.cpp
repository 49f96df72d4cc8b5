// The capture's command line: lengths, start, seed, profile, outputs and the one-line complaints.
#include "capture_options.h"
#include "settings.h"
#include "user_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

namespace {

// Parses `words` (without the program name); `problem` gets the complaint, if any.
bool parse(std::vector<std::string> words, CaptureOptions& options, std::string& problem)
{
    words.insert(words.begin(), "demo-capture");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return parse_options(static_cast<int>(words.size()), argv.data(), options, problem);
}

// The options `words` give; fails the test if they are refused.
CaptureOptions parsed(const std::vector<std::string>& words)
{
    CaptureOptions options;
    std::string problem;
    EXPECT_TRUE(parse(words, options, problem)) << problem;
    return options;
}

// The complaint `words` give; fails the test if they are accepted.
std::string refusal(const std::vector<std::string>& words)
{
    CaptureOptions options;
    std::string problem;
    EXPECT_FALSE(parse(words, options, problem));
    EXPECT_EQ(problem.find('\n'), std::string::npos) << "complaints are one line";
    return problem;
}

TEST(CaptureOptions, DefaultsGiveARepeatableTenSecondVideo)
{
    const CaptureOptions options = parsed({});
    EXPECT_EQ(options.length_ticks, 600);
    EXPECT_EQ(options.start_tick, 0);
    EXPECT_EQ(options.seed, DEFAULT_SEED);
    EXPECT_EQ(options.kind, OutputKind::VIDEO);
    EXPECT_EQ(options.output, "capture.mp4");
    EXPECT_TRUE(options.trace_path.empty());
    EXPECT_TRUE(options.profile.empty());
    EXPECT_TRUE(options.data_dir.empty()) << "the show's files are in the working directory by default";
}

TEST(CaptureOptions, LengthsInSecondsOrTicksBecomeTicks)
{
    EXPECT_EQ(parsed({"--length", "5"}).length_ticks, 300);
    EXPECT_EQ(parsed({"-l", "2.5s"}).length_ticks, 150);
    EXPECT_EQ(parsed({"--length=300t"}).length_ticks, 300);
    EXPECT_EQ(parsed({"--length", "1t"}).length_ticks, 1);
    EXPECT_EQ(parsed({"--length", ".1"}).length_ticks, 6);
}

TEST(CaptureOptions, EveryValuedOptionIsRead)
{
    const CaptureOptions options =
        parsed({"-s", "15000", "--seed=7", "-p", "hd", "-o", "out.mkv", "--trace", "t.txt", "-d", "/opt/show"});
    EXPECT_EQ(options.start_tick, 15000);
    EXPECT_EQ(options.seed, 7u);
    EXPECT_EQ(options.profile, "hd");
    EXPECT_EQ(options.output, "out.mkv");
    EXPECT_EQ(options.trace_path, "t.txt");
    EXPECT_EQ(options.data_dir, "/opt/show");
    EXPECT_EQ(parsed({"--data=show files"}).data_dir, "show files");
}

TEST(CaptureOptions, PngFramesGoToTheirOwnDefaultFolder)
{
    EXPECT_EQ(parsed({"--png"}).output, "capture-frames");
    const CaptureOptions named = parsed({"--png", "-o", "frames"});
    EXPECT_EQ(named.kind, OutputKind::PNG_FRAMES);
    EXPECT_EQ(named.output, "frames");
}

TEST(CaptureOptions, FastEncodingIsAskedForByAFlag)
{
    EXPECT_FALSE(parsed({"-l", "5"}).fast_encode);
    EXPECT_TRUE(parsed({"--fast-encode", "-l", "5"}).fast_encode);
    EXPECT_NE(refusal({"--fast-encode=yes"}).find("takes no value"), std::string::npos);
}

TEST(CaptureOptions, BadValuesAreRefusedWithTheirReason)
{
    EXPECT_NE(refusal({"--length", "0"}).find("bad length"), std::string::npos);
    EXPECT_NE(refusal({"--length", "-5"}).find("bad length"), std::string::npos);
    EXPECT_NE(refusal({"--length", "5x"}).find("bad length"), std::string::npos);
    EXPECT_NE(refusal({"--length", "t"}).find("bad length"), std::string::npos);
    EXPECT_NE(refusal({"--length", "0.001"}).find("bad length"), std::string::npos);
    EXPECT_NE(refusal({"--start", "-1"}).find("bad start tick"), std::string::npos);
    EXPECT_NE(refusal({"--start", "12.5"}).find("bad start tick"), std::string::npos);
    EXPECT_NE(refusal({"--seed", "x"}).find("bad seed"), std::string::npos);
    EXPECT_NE(refusal({"--profile", "4k"}).find("unknown profile"), std::string::npos);
    EXPECT_NE(refusal({"--output="}).find("empty"), std::string::npos);
    EXPECT_NE(refusal({"--data", ""}).find("empty"), std::string::npos);
}

TEST(CaptureOptions, MalformedCommandLinesAreRefused)
{
    EXPECT_NE(refusal({"--lenght", "5"}).find("unknown option"), std::string::npos);
    EXPECT_NE(refusal({"capture.mp4"}).find("unknown option"), std::string::npos);
    EXPECT_NE(refusal({"--length"}).find("needs a value"), std::string::npos);
    EXPECT_NE(refusal({"--png=yes"}).find("takes no value"), std::string::npos);
}

TEST(CaptureOptions, StartAndLengthTakeTheShowsLimitsAndEndWithinItsTickCounter)
{
    const long longest = INT_MAX - limits::START_TICK.most;
    const CaptureOptions furthest =
        parsed({"--start", std::to_string(limits::START_TICK.most), "--length", std::to_string(longest) + "t"});
    EXPECT_EQ(furthest.start_tick, limits::START_TICK.most);
    EXPECT_LE(furthest.start_tick + furthest.length_ticks, INT_MAX);
    const std::string beyond = std::to_string(limits::START_TICK.most + 1);
    EXPECT_NE(refusal({"--start", beyond}).find("bad start tick '" + beyond + "': give a whole number of ticks from 0 to "),
              std::string::npos);
    EXPECT_NE(refusal({"--length", std::to_string(longest + 1) + "t"}).find("bad length"), std::string::npos);
    EXPECT_NE(refusal({"--length", "99999999999999999999999t"}).find("bad length"), std::string::npos);
    EXPECT_NE(refusal({"--start", "99999999999999999999999"}).find("bad start tick"), std::string::npos);
    EXPECT_NE(refusal({"--seed", "4294967296"}).find("bad seed"), std::string::npos);
}

TEST(CaptureProfiles, NamesAndSizesFindTheSameProgram)
{
    ASSERT_NE(find_profile("sd"), nullptr);
    EXPECT_EQ(find_profile("sd"), find_profile("1024x768"));
    EXPECT_EQ(find_profile("hd"), find_profile("1920x1080"));
    EXPECT_EQ(std::string(find_profile("hd")->program), "demo-capture-hd");
    EXPECT_EQ(profile_of_size(1024, 768), find_profile("sd"));
    EXPECT_EQ(profile_of_size(800, 600), nullptr);
}

TEST(CaptureHelp, EveryOptionIsTakenByItsNamesAndListedInTheHelpsColumns)
{
    constexpr size_t HELP_COLUMN = 24;   // where every option's text starts, after its names
    const std::map<CaptureOption, std::string> sample_values = {
        {CaptureOption::LENGTH, "5"}, {CaptureOption::START, "10"},  {CaptureOption::PROFILE, "hd"},
        {CaptureOption::SEED, "3"},   {CaptureOption::OUTPUT, "a"},  {CaptureOption::TRACE, "t.txt"},
        {CaptureOption::DATA, "show"}};
    const std::string help = help_text("demo-capture");
    for (const CaptureOptionRow& row : CAPTURE_OPTIONS) {
        const std::string names = (row.letter ? std::string(row.letter) + ", " : std::string(4, ' ')) + row.name +
                                  (row.value ? std::string(" ") + row.value : "");
        const size_t line = help.find("\n  " + names + " ");
        ASSERT_NE(line, std::string::npos) << names << " is not in the help";
        EXPECT_EQ(help.find_first_not_of(' ', line + 1 + names.size() + 2), line + 1 + HELP_COLUMN) << names;
        for (const char* name : {row.letter, row.name}) {
            if (!name)
                continue;
            std::vector<std::string> words = {name};
            if (row.value)
                words.push_back(sample_values.at(row.option));
            CaptureOptions options;
            std::string problem;
            EXPECT_TRUE(parse(words, options, problem)) << name << ": " << problem;
        }
    }
}

TEST(CaptureHelp, SaysHowItDrawsWithoutAScreen)
{
    const std::string help = help_text("demo-capture");
    EXPECT_NE(help.find("0 to " + std::to_string(limits::START_TICK.most)), std::string::npos)
        << "the help states the start's range";
    EXPECT_NE(help.find(profile_choices()), std::string::npos) << "the help names every profile there is";
    EXPECT_NE(help.find("off-screen through EGL"), std::string::npos);
    EXPECT_NE(help.find("No X server is needed:\n  ./demo-capture --length 30"), std::string::npos);
    EXPECT_TRUE(parsed({"--help"}).help);
}

}  // namespace
