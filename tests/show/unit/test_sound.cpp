// Sound start-up, the effect table and playback. The audio device, the effects and the song are
// globals that live until the process ends, so every case runs in a child process of its own,
// from a scratch folder holding the chosen sound files; the checks made in the child are
// reported through its exit status and standard error.
#include "native_sound.h"
#include "sound.h"
#include "testsupport.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* DISK_DELAY_MS = "93";   // one 1024-frame buffer lasts 93 ms at 11025 Hz: real-time pace
constexpr Uint32 SONG_LISTEN_MS = 1200;       // long enough for the disk driver to write over a second of song
constexpr Uint32 QUIET_LISTEN_MS = 500;       // several mixing buffers with nothing playing
constexpr Uint32 EFFECT_LISTEN_MS = 600;      // several mixing buffers after an effect starts

// The checks made inside a child process; finish() ends the child with status 0 when every
// check held, otherwise with status 1 and each failed check on standard error.
class ChildChecks {
public:
    // Records `what` as failed unless `held`.
    void expect(bool held, const std::string& what)
    {
        if (!held)
            failures += what + "\n";
    }

    // Records a failure unless `actual` equals `expected`.
    void expect_equal(const std::string& actual, const std::string& expected, const std::string& what)
    {
        expect(actual == expected, what + ": got [" + actual + "], expected [" + expected + "]");
    }

    // Closes audio, removes the scratch folder and ends the child with the outcome.
    [[noreturn]] void finish(const fs::path& scratch)
    {
        Mix_CloseAudio();
        SDL_Quit();
        std::error_code ignored;
        fs::current_path(scratch.parent_path(), ignored);
        fs::remove_all(scratch, ignored);
        std::cerr << failures << std::flush;
        std::_Exit(failures.empty() ? 0 : 1);
    }

private:
    std::string failures;
};

// Makes a scratch folder with copies of the run folder's sound files, except those in
// `left_out`, and makes it the working directory; returns its path.
fs::path enter_folder_with_sounds(const std::vector<std::string>& left_out)
{
    const fs::path run = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "quoravint-sound-XXXXXX").string();
    const fs::path scratch = mkdtemp(pattern.data());
    fs::create_directory(scratch / "sfx");
    for (const fs::directory_entry& file : fs::directory_iterator(run / "sfx")) {
        const std::string name = "sfx/" + file.path().filename().string();
        bool skip = false;
        for (const std::string& out : left_out)
            skip = skip || out == name;
        if (!skip)
            fs::copy_file(file.path(), scratch / name);
    }
    fs::current_path(scratch);
    return scratch;
}

// Has SDL write the mixed output to `capture` through its disk driver, at real-time pace.
void use_disk_audio(const fs::path& capture)
{
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", DISK_DELAY_MS, 1);
}

// Size in bytes of what the disk driver has written so far.
std::uintmax_t captured_bytes(const fs::path& capture)
{
    std::error_code missing;
    const std::uintmax_t size = fs::file_size(capture, missing);
    return missing ? 0 : size;
}

// Whether any 16-bit sample written from byte `from` on is not silence.
bool sound_captured_after(const fs::path& capture, std::uintmax_t from)
{
    std::ifstream in(capture, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    int16_t sample = 0;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
        if (sample != 0)
            return true;
    return false;
}

// The trace split into its lines; a last piece without a line end is kept as a line.
std::vector<std::string> lines_of(const std::string& trace)
{
    std::vector<std::string> lines;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Whether two loaded effects hold the same decoded samples.
bool same_samples(const SoundEffect* effect, const Mix_Chunk* b)
{
    const Mix_Chunk* a = effect ? effect->chunk : nullptr;
    return a && b && a->alen == b->alen && std::memcmp(a->abuf, b->abuf, a->alen) == 0;
}

// Runs init_sound and returns its trace; `opened` receives its result.
std::string traced_init_sound(bool& opened)
{
    TraceCapture trace;
    opened = init_sound();
    return trace.text();
}

// What play_sound(index) writes to the trace.
std::string trace_of_play_sound(int index)
{
    TraceCapture trace;
    play_sound(index);
    return trace.text();
}

// All files present, disk driver: the start-up trace, the three effects and the song, heard.
[[noreturn]] void start_with_every_file()
{
    ChildChecks checks;
    const fs::path scratch = enter_folder_with_sounds({});
    const fs::path capture = scratch / "out.raw";
    use_disk_audio(capture);
    bool opened = false;
    const std::string startup = traced_init_sound(opened);
    checks.expect(opened, "init_sound reports failure");
    const std::vector<std::string> lines = lines_of(startup);
    const std::vector<std::string> after_first = {
        "LOADED SOUND: sfx/AUAUAUAHAHAH.ogg", "LOADED SOUND: sfx/VLERVELER.ogg", "LOADED SONG", "PLAY SONG",
        "PLAYING SONG"};
    const std::string first_entry = "LOADED SOUND: sfx/future.ogg";
    checks.expect(lines.size() == after_first.size() + 1, "start-up trace has the wrong line count:\n" + startup);
    if (!lines.empty()) {
        const std::string& first = lines[0];
        checks.expect(first.rfind("AUDIO", 0) == 0 && first.size() >= first_entry.size() &&
                          first.compare(first.size() - first_entry.size(), first_entry.size(), first_entry) == 0,
                      "first line is not AUDIO, SDL's text and the first effect: " + first);
    }
    for (size_t i = 0; i < after_first.size() && i + 1 < lines.size(); ++i)
        checks.expect_equal(lines[i + 1], after_first[i], "start-up line " + std::to_string(i + 2));
    checks.expect(sounds.size() == 3, "not all three effects are in the table");
    checks.expect(song != nullptr, "the song did not load");
    SDL_Delay(SONG_LISTEN_MS);
    checks.expect(sound_captured_after(capture, 0), "the song is not heard: the output is silent");
    checks.finish(scratch);
}

// No song, disk driver: the song's failure is traced and an effect played on request is heard.
[[noreturn]] void play_effect_without_song()
{
    ChildChecks checks;
    const fs::path scratch = enter_folder_with_sounds({"sfx/towers.xm"});
    const fs::path capture = scratch / "out.raw";
    use_disk_audio(capture);
    bool opened = false;
    const std::string startup = traced_init_sound(opened);
    checks.expect(opened, "init_sound reports failure");
    checks.expect(startup.find("LOADED SOUND: sfx/VLERVELER.ogg\nSONG LOAD FAIL\nPLAY SONG\nMUSIC ERROR: ") !=
                      std::string::npos,
                  "the missing song is not traced as it should be:\n" + startup);
    checks.expect(startup.find("PLAYING SONG") == std::string::npos, "a missing song is said to play");
    SDL_Delay(QUIET_LISTEN_MS);
    const std::uintmax_t before_effect = captured_bytes(capture);
    checks.expect(before_effect > 0, "the disk driver wrote nothing");
    checks.expect(!sound_captured_after(capture, 0), "the output is not silent before any effect plays");
    checks.expect_equal(trace_of_play_sound(SOUND_VLERVELER), "", "trace of a valid play_sound");
    SDL_Delay(EFFECT_LISTEN_MS);
    checks.expect(sound_captured_after(capture, before_effect), "the effect played with play_sound is not heard");
    checks.finish(scratch);
}

// "sfx/future.ogg" missing: the other effects move down one index and index 2 is out of range.
[[noreturn]] void start_without_first_effect()
{
    ChildChecks checks;
    const fs::path scratch = enter_folder_with_sounds({"sfx/future.ogg"});
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    bool opened = false;
    const std::string startup = traced_init_sound(opened);
    checks.expect(opened, "init_sound reports failure");
    checks.expect(startup.find("ERROR LOADING SOUND: sfx/future.ogg\nLOADED SOUND: sfx/AUAUAUAHAHAH.ogg\n") !=
                      std::string::npos,
                  "the missing effect is not traced in its place:\n" + startup);
    checks.expect(sounds.size() == 2, "the table does not hold the two effects that loaded");
    Mix_Chunk* auauau = Mix_LoadWAV("sfx/AUAUAUAHAHAH.ogg");
    Mix_Chunk* vlerveler = Mix_LoadWAV("sfx/VLERVELER.ogg");
    checks.expect(sounds.size() > 0 && same_samples(sounds[0], auauau), "index 0 is not AUAUAUAHAHAH");
    checks.expect(sounds.size() > 1 && same_samples(sounds[1], vlerveler), "index 1 is not VLERVELER");
    checks.expect_equal(trace_of_play_sound(0), "", "trace of play_sound(0)");
    checks.expect_equal(trace_of_play_sound(1), "", "trace of play_sound(1)");
    checks.expect_equal(trace_of_play_sound(2), "Sound out of range.\n", "trace of play_sound(2)");
    checks.expect_equal(trace_of_play_sound(-1), "Sound out of range.\n", "trace of play_sound(-1)");
    checks.finish(scratch);
}

// No audio driver at all: one "AUDIO ERROR: " line, nothing loaded, every effect out of range.
[[noreturn]] void start_without_audio()
{
    ChildChecks checks;
    const fs::path scratch = enter_folder_with_sounds({});
    setenv("SDL_AUDIODRIVER", "nonexistent", 1);
    bool opened = true;
    const std::string startup = traced_init_sound(opened);
    checks.expect(!opened, "init_sound reports success without audio");
    checks.expect(startup.rfind("AUDIO ERROR: ", 0) == 0 && count_occurrences(startup, "\n") == 1,
                  "the trace is not one AUDIO ERROR line:\n" + startup);
    checks.expect(sounds.empty(), "effects were loaded without audio");
    checks.expect(song == nullptr, "the song was loaded without audio");
    checks.expect_equal(trace_of_play_sound(0), "Sound out of range.\n", "trace of play_sound(0) without audio");
    checks.finish(scratch);
}

// Runs each case in a freshly started copy of the test program, so no audio state is shared.
class SoundInChild : public testing::Test {
protected:
    void SetUp() override
    {
        saved_style = GTEST_FLAG_GET(death_test_style);
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
    void TearDown() override { GTEST_FLAG_SET(death_test_style, saved_style); }

private:
    std::string saved_style;
};

TEST_F(SoundInChild, EveryFileLoadsInOrderAndTheSongIsHeard)
{
    EXPECT_EXIT(start_with_every_file(), testing::ExitedWithCode(0), "");
}

TEST_F(SoundInChild, AnEffectPlayedOnRequestIsHeardWhileTheSongIsMissing)
{
    EXPECT_EXIT(play_effect_without_song(), testing::ExitedWithCode(0), "");
}

TEST_F(SoundInChild, AMissingEffectShiftsTheLaterIndicesDown)
{
    EXPECT_EXIT(start_without_first_effect(), testing::ExitedWithCode(0), "");
}

TEST_F(SoundInChild, WithoutAudioTheShowGoesOnSilent)
{
    EXPECT_EXIT(start_without_audio(), testing::ExitedWithCode(0), "");
}

}  // namespace
