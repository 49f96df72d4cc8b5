// Tests of the generated sounds, read back the way the show reads them (SDL_mixer at the
// show's rate) and through an independent player (libxmp) for the song.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
#include <xmp.h>

#include "showfiles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int MIX_RATE = 11025;            // Hz: the show opens audio at this rate
constexpr int FRAME_BYTES = 4;             // 16-bit stereo
constexpr int WINDOW = MIX_RATE / 50;      // 20 ms: short enough to see the gap between syllables
constexpr int FULL_SCALE = 32767;          // a sample this large (or -32768) has been clipped
constexpr int SILENCE = 64;                // peak below this in a window: nothing audible
constexpr double SONG_RENDER_SECONDS = 70.0;   // over a minute of music, the quiet break included
constexpr double LONGEST_GAP_SECONDS = 2.0;    // a show song may breathe, but not drop out
constexpr double SHORTEST_PASS_SECONDS = 60.0; // a ten-minute show should not hear the same minute over and over
constexpr double GIVE_UP_SECONDS = 600.0;      // a song that has not come round in ten minutes never will

const char* const FUTURE = EFFECT_FILES[0];      // the show's effects, in their sound order
const char* const AUAUAU = EFFECT_FILES[1];
const char* const VLERVELER = EFFECT_FILES[2];
const char* const SONG = SONG_FILE;

// -- helpers ----------------------------------------------------------------------------------

// The whole content of a file, or empty when it cannot be read.
std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Largest magnitude among `count` frames from `first`.
int peak_of(const int16_t* first, int count)
{
    int peak = 0;
    for (int i = 0; i < count; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(first[i])));
    return peak;
}

// Peak magnitude of each successive WINDOW of `samples`.
std::vector<int> window_peaks(const std::vector<int16_t>& samples)
{
    std::vector<int> peaks;
    for (size_t start = 0; start < samples.size(); start += WINDOW)
        peaks.push_back(peak_of(samples.data() + start, static_cast<int>(std::min<size_t>(WINDOW, samples.size() - start))));
    return peaks;
}

// Root-mean-square loudness of each successive WINDOW of `samples`.
std::vector<double> loudness_contour(const std::vector<int16_t>& samples)
{
    std::vector<double> contour;
    for (size_t start = 0; start < samples.size(); start += WINDOW) {
        double energy = 0.0;
        const size_t end = std::min(samples.size(), start + WINDOW);
        for (size_t i = start; i < end; ++i)
            energy += static_cast<double>(samples[i]) * samples[i];
        contour.push_back(std::sqrt(energy / (end - start)));
    }
    return contour;
}

// Syllables heard in a contour: stretches louder than a quarter of its peak, each ended by a
// dip below a tenth of it (so a wobble inside one syllable is not counted twice).
int count_syllables(const std::vector<double>& contour)
{
    const double peak = *std::max_element(contour.begin(), contour.end());
    int syllables = 0;
    bool inside = false;
    for (double level : contour) {
        if (!inside && level > peak / 4) {
            ++syllables;
            inside = true;
        } else if (inside && level < peak / 10) {
            inside = false;
        }
    }
    return syllables;
}

// Longest run of silent windows, in seconds.
double longest_silence(const std::vector<int16_t>& samples, int channels)
{
    int run = 0, longest = 0;
    for (int peak : window_peaks(samples)) {
        run = peak < SILENCE ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return static_cast<double>(longest) * WINDOW / (MIX_RATE * channels);
}

// Whether any sample sits at the limits of 16 bits, where a mixer clamps what overflowed.
bool has_clipped_sample(const std::vector<int16_t>& samples)
{
    return std::any_of(samples.begin(), samples.end(), [](int16_t s) { return s >= FULL_SCALE || s == -32768; });
}

// Normalised correlation of two signals over their common length: 1 for the same shape.
double correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b)
{
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        ab += static_cast<double>(a[i]) * b[i];
        aa += static_cast<double>(a[i]) * a[i];
        bb += static_cast<double>(b[i]) * b[i];
    }
    return ab / std::sqrt(aa * bb + 1.0);
}

// -- effects through SDL_mixer -----------------------------------------------------------------

// Opens the mixer exactly as the show does, once for all tests that need it.
class MixerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 0);   // no sound card needed; ctest sets it too
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_GE(Mix_OpenAudio(MIX_RATE, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    }
    static void TearDownTestSuite()
    {
        Mix_CloseAudio();
        SDL_Quit();
    }

    // The effect at `path` decoded by the mixer, left channel only; fails the test if it does not load.
    static std::vector<int16_t> decode_effect(const char* path)
    {
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path, "rb"), 1);
        EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
        std::vector<int16_t> left;
        if (chunk) {
            const int16_t* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
            for (Uint32 frame = 0; frame < chunk->alen / FRAME_BYTES; ++frame)
                left.push_back(samples[frame * 2]);
            Mix_FreeChunk(chunk);
        }
        return left;
    }
};

using EffectSounds = MixerTest;

TEST_F(EffectSounds, EachDecodesToHalfASecondToTwoSecondsWithoutClipping)
{
    for (const char* path : {FUTURE, AUAUAU, VLERVELER}) {
        const std::vector<int16_t> sound = decode_effect(path);
        const double seconds = static_cast<double>(sound.size()) / MIX_RATE;
        EXPECT_GE(seconds, 0.5) << path;
        EXPECT_LE(seconds, 2.0) << path;
        EXPECT_FALSE(has_clipped_sample(sound)) << path;
        EXPECT_GT(*std::max_element(sound.begin(), sound.end()), FULL_SCALE / 4) << path << " is too quiet";
    }
}

TEST_F(EffectSounds, EachSpeaksTheSyllablesOfItsName)
{
    EXPECT_EQ(count_syllables(loudness_contour(decode_effect(FUTURE))), 2) << "fu-ture";
    EXPECT_EQ(count_syllables(loudness_contour(decode_effect(AUAUAU))), 6) << "au-au-au-ah-ah-ah";
    EXPECT_EQ(count_syllables(loudness_contour(decode_effect(VLERVELER))), 3) << "vler-ve-ler";
}

TEST_F(EffectSounds, NoTwoAreAlike)
{
    const std::vector<std::vector<int16_t>> sounds = {decode_effect(FUTURE), decode_effect(AUAUAU),
                                                      decode_effect(VLERVELER)};
    for (size_t a = 0; a < sounds.size(); ++a)
        for (size_t b = a + 1; b < sounds.size(); ++b)
            EXPECT_LT(std::fabs(correlation(sounds[a], sounds[b])), 0.5) << "effects " << a << " and " << b;
}

// -- the song through SDL_mixer ----------------------------------------------------------------

using SongThroughMixer = MixerTest;

// Loudest sample the mixer has sent out since the test last set this to zero.
int mixed_peak = 0;
// Post-mix hook: notes the loudest sample of every buffer the mixer sends out.
void note_mixed_peak(void*, Uint8* stream, int length)
{
    const int16_t* samples = reinterpret_cast<const int16_t*>(stream);
    for (int i = 0; i < length / 2; ++i)
        mixed_peak = std::max(mixed_peak, std::abs(static_cast<int>(samples[i])));
}

TEST_F(SongThroughMixer, LoadsAndIsHeard)
{
    Mix_Music* music = Mix_LoadMUS(SONG);
    ASSERT_NE(music, nullptr) << Mix_GetError();
    mixed_peak = 0;
    Mix_SetPostMix(note_mixed_peak, nullptr);
    ASSERT_EQ(Mix_PlayMusic(music, -1), 0) << Mix_GetError();
    SDL_Delay(1500);   // the dummy driver mixes in real time
    Mix_HaltMusic();
    Mix_SetPostMix(nullptr, nullptr);
    Mix_FreeMusic(music);
    EXPECT_GT(mixed_peak, FULL_SCALE / 20);
    EXPECT_LT(mixed_peak, FULL_SCALE);
}

// -- the song through libxmp -------------------------------------------------------------------

// Loads the song into a libxmp player for each test.
class SongModule : public ::testing::Test {
protected:
    void SetUp() override
    {
        player = xmp_create_context();
        ASSERT_EQ(xmp_load_module(player, const_cast<char*>(SONG)), 0) << "libxmp rejects " << SONG;
        loaded = true;
        xmp_module_info info;
        xmp_get_module_info(player, &info);
        module = info.mod;
    }
    void TearDown() override
    {
        if (loaded)
            xmp_release_module(player);
        xmp_free_context(player);
    }

    // Renders `seconds` of stereo at the show's rate, with only `solo` audible (-1: every channel).
    std::vector<int16_t> render(double seconds, int solo = -1)
    {
        std::vector<int16_t> out(static_cast<size_t>(seconds * MIX_RATE) * 2);
        xmp_start_player(player, MIX_RATE, 0);
        for (int channel = 0; channel < module->chn && solo >= 0; ++channel)
            xmp_channel_mute(player, channel, channel != solo);
        xmp_play_buffer(player, out.data(), static_cast<int>(out.size() * 2), 0);
        xmp_end_player(player);
        return out;
    }

    xmp_context player = nullptr;
    bool loaded = false;
    const xmp_module* module = nullptr;
};

// Index of the instrument called `name`, or -1.
int instrument_named(const xmp_module* module, const std::string& name)
{
    for (int i = 0; i < module->ins; ++i)
        if (name == module->xxi[i].name)
            return i;
    return -1;
}

TEST_F(SongModule, HasChannelsPatternsAndALoopingOrder)
{
    EXPECT_GE(module->chn, 4);
    EXPECT_GE(module->len, 8);
    EXPECT_LT(module->rst, module->len);
    std::vector<int> used(module->xxo, module->xxo + module->len);
    std::sort(used.begin(), used.end());
    EXPECT_GE(std::unique(used.begin(), used.end()) - used.begin(), 6) << "distinct patterns in the order";
}

TEST_F(SongModule, DrumsAre16BitOneShotsThatDieAway)
{
    for (const char* name : {"kick", "snare", "hat"}) {
        const int index = instrument_named(module, name);
        ASSERT_GE(index, 0) << "no instrument " << name;
        const xmp_sample& sample = module->xxs[module->xxi[index].sub[0].sid];
        EXPECT_TRUE(sample.flg & XMP_SAMPLE_16BIT) << name;
        EXPECT_FALSE(sample.flg & XMP_SAMPLE_LOOP) << name;
        // a hit that has not faded by its end clicks when the next one cuts it off
        const int16_t* data = reinterpret_cast<const int16_t*>(sample.data);
        const int tenth = sample.len / 10;
        EXPECT_LT(peak_of(data + sample.len - tenth, tenth) * 8, peak_of(data, tenth)) << name;
    }
}

TEST_F(SongModule, SustainedTonesAre16BitLoopsWithoutClicks)
{
    for (const char* name : {"bass", "lead", "pad", "pluck"}) {
        const int index = instrument_named(module, name);
        ASSERT_GE(index, 0) << "no instrument " << name;
        const xmp_sample& sample = module->xxs[module->xxi[index].sub[0].sid];
        EXPECT_TRUE(sample.flg & XMP_SAMPLE_16BIT) << name;
        ASSERT_TRUE(sample.flg & XMP_SAMPLE_LOOP) << name;
        const int16_t* data = reinterpret_cast<const int16_t*>(sample.data);
        // the jump back to the loop start must look like any other step, or it clicks at the note's pitch
        int largest_step = 0;
        double sum = 0.0;
        for (int i = sample.lps + 1; i < sample.lpe; ++i)
            largest_step = std::max(largest_step, std::abs(data[i] - data[i - 1]));
        EXPECT_LE(std::abs(data[sample.lps] - data[sample.lpe - 1]), largest_step) << name;
        // a loop off centre thumps whenever a note starts or stops
        for (int i = sample.lps; i < sample.lpe; ++i)
            sum += data[i];
        EXPECT_LT(std::fabs(sum / (sample.lpe - sample.lps)), peak_of(data + sample.lps, sample.lpe - sample.lps) / 20.0)
            << name;
    }
}

// The pitch of a steady tone, in Hz: the first peak of self-similarity that comes close to the best
// (later peaks, at whole multiples of the period, would read an octave or more too low).
double pitch_of(const std::vector<int16_t>& tone, int sample_rate)
{
    constexpr double LOWEST_HZ = 50.0, HIGHEST_HZ = 2000.0;   // the song's whole range
    const int shortest = static_cast<int>(sample_rate / HIGHEST_HZ), longest = static_cast<int>(sample_rate / LOWEST_HZ);
    const int span = static_cast<int>(tone.size()) - longest;
    std::vector<double> similarity(longest + 1, 0.0);
    for (int lag = shortest; lag <= longest; ++lag) {
        double product = 0.0, energy = 0.0;
        for (int i = 0; i < span; ++i) {
            product += static_cast<double>(tone[i]) * tone[i + lag];
            energy += static_cast<double>(tone[i + lag]) * tone[i + lag];
        }
        similarity[lag] = product / std::sqrt(energy + 1.0);
    }
    const double best = *std::max_element(similarity.begin(), similarity.end());
    int lag = shortest;
    while (similarity[lag] < 0.9 * best)
        ++lag;
    while (lag < longest && similarity[lag + 1] > similarity[lag])   // climb to the top of that peak
        ++lag;
    return static_cast<double>(sample_rate) / lag;
}

TEST_F(SongModule, EveryMelodicInstrumentSoundsTheNoteItIsWrittenAs)
{
    constexpr int RATE = 44100;       // fine enough to tell pitches a few cents apart
    constexpr int A4 = 69;            // libxmp counts notes from C-0 = 0: A-4
    constexpr double A4_HZ = 440.0;
    for (const char* name : {"bass", "lead", "pluck"}) {
        const int index = instrument_named(module, name);
        ASSERT_GE(index, 0) << "no instrument " << name;
        ASSERT_EQ(xmp_start_smix(player, 1, 0), 0);
        xmp_start_player(player, RATE, XMP_FORMAT_MONO);
        for (int channel = 0; channel < module->chn; ++channel)
            xmp_channel_mute(player, channel, 1);   // only the extra channel plays
        xmp_smix_play_instrument(player, index, A4, 64, 0);
        std::vector<int16_t> tone(RATE / 5);
        xmp_play_buffer(player, tone.data(), static_cast<int>(tone.size() * 2), 0);
        xmp_end_player(player);
        xmp_end_smix(player);
        const double semitones_off = 12.0 * std::log2(pitch_of(tone, RATE) / A4_HZ);
        EXPECT_LT(std::fabs(semitones_off), 0.25) << name;
    }
}

TEST_F(SongModule, PlaysAtLeastAMinuteBeforeLoopingBackToTheRestartPosition)
{
    xmp_start_player(player, MIX_RATE, 0);
    xmp_frame_info frame;
    double seconds = 0.0;
    do {
        ASSERT_EQ(xmp_play_frame(player), 0);
        xmp_get_frame_info(player, &frame);
        seconds += frame.frame_time / 1e6;
    } while (frame.loop_count == 0 && seconds < GIVE_UP_SECONDS);
    xmp_end_player(player);
    EXPECT_EQ(frame.loop_count, 1) << "the song never came back round";
    EXPECT_GE(seconds, SHORTEST_PASS_SECONDS);
    EXPECT_EQ(frame.pos, module->rst);
}

TEST_F(SongModule, SeventySecondsNeverFallSilentNorClip)
{
    const std::vector<int16_t> song = render(SONG_RENDER_SECONDS);
    EXPECT_LE(longest_silence(song, 2), LONGEST_GAP_SECONDS);
    EXPECT_FALSE(has_clipped_sample(song));
}

TEST_F(SongModule, EveryChannelIsHeardOnItsOwn)
{
    int heard = 0;
    for (int channel = 0; channel < module->chn; ++channel) {
        const std::vector<int16_t> solo = render(SONG_RENDER_SECONDS, channel);
        const bool sounds = std::any_of(solo.begin(), solo.end(), [](int16_t s) { return std::abs(s) > SILENCE; });
        EXPECT_TRUE(sounds) << "channel " << channel << " stays silent";
        heard += sounds;
    }
    EXPECT_GE(heard, 4);
}

// -- the generator -----------------------------------------------------------------------------

TEST(SoundGenerator, WritesIdenticalBytesOnEveryRun)
{
    const std::string first = testing::TempDir() + "sounds_run_a", second = testing::TempDir() + "sounds_run_b";
    for (const std::string& folder : {first, second})
        ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " " + folder + " >/dev/null").c_str()), 0);
    for (const char* path : {FUTURE, AUAUAU, VLERVELER, SONG}) {
        const std::string a = file_bytes(first + "/" + path);
        EXPECT_FALSE(a.empty()) << path;
        EXPECT_EQ(a, file_bytes(second + "/" + path)) << path << " differs between runs";
    }
    std::filesystem::remove_all(first);
    std::filesystem::remove_all(second);
}

}  // namespace
