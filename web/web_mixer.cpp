#include "web_mixer.h"

#include "mix_core.h"

#include "host_services.h"
#include "sound.h"
#include "ticks.h"

#include <SDL/SDL.h>
#include <emscripten.h>   // before xmp.h, which would include it inside its extern "C"
#include <xmp.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int stb_vorbis_decode_memory(const unsigned char* mem, int len, int* channels, int* sample_rate,
                                        short** output);

constexpr int BYTES_PER_SAMPLE = 2;     // the show asks for signed 16-bit samples
constexpr int SONG_LOOPS_FOREVER = 0;   // xmp_play_buffer's loop count for a song without end
static_assert(AUDIO_FORMAT == AUDIO_S16LSB, "the browser's mixer mixes signed 16-bit samples only");

// A loaded song: a player of its own.
struct SoundSong {
    xmp_context player;
};

// An effect in the output format.
struct SoundEffect {
    std::vector<int16_t> samples;
};

namespace {

SDL_AudioSpec output = {};                           // the format the browser's audio opened with
std::vector<std::unique_ptr<SoundEffect>> effects;   // every effect loaded; kept to the end, as natively
EffectChannels channels;                             // the effects playing
SoundSong* playing_song = nullptr;                   // the song playing, or null
std::string error_text;                              // why the last call failed; empty as natively until one does
double last_level = 0.0;                        // level of the last mixed buffer
bool muted = false;                             // the mixed sound is replaced by silence
bool held = false;                              // the device gets silence and the sound stays where it is

// The whole file at `path`; empty when it cannot be read.
std::vector<unsigned char> read_file(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The show's sound of one buffer: the song, then the effects on top, then the level.
void SDLCALL mix_audio(void*, Uint8* stream, int length)
{
    int16_t* samples = reinterpret_cast<int16_t*>(stream);
    const size_t count = static_cast<size_t>(length) / BYTES_PER_SAMPLE;
    std::fill(samples, samples + count, 0);
    if (playing_song)
        xmp_play_buffer(playing_song->player, stream, length, SONG_LOOPS_FOREVER);
    channels.mix(samples, count);
    if (muted)
        std::fill(samples, samples + count, 0);
    last_level = sound_level(samples, count);
}

// The audio device's callback: the show's sound, or silence while it is held. Emscripten's SDL goes
// on calling after SDL_PauseAudio (its spare timers and the main loop ask too), so holding is kept here.
void SDLCALL feed_device(void* data, Uint8* stream, int length)
{
    if (!held) {
        mix_audio(data, stream, length);
        return;
    }
    std::fill(stream, stream + length, 0);
    last_level = 0.0;
}

// Decodes an Ogg Vorbis file into the output format; empty when it does not decode.
std::vector<int16_t> decode_vorbis(const std::vector<unsigned char>& bytes)
{
    int file_channels = 0;
    int file_rate = 0;
    short* decoded = nullptr;
    const int frames = bytes.empty() ? -1
                                     : stb_vorbis_decode_memory(bytes.data(), static_cast<int>(bytes.size()),
                                                                &file_channels, &file_rate, &decoded);
    std::vector<int16_t> samples;
    if (frames > 0)
        samples = convert_sound(decoded, static_cast<size_t>(frames), file_channels, file_rate, output.channels,
                                output.freq);
    std::free(decoded);
    return samples;
}

}  // namespace

// Opens the browser's audio output in the show's format (the browser may raise the rate) and starts it.
bool open_sound_output()
{
    SDL_AudioSpec desired = {};
    desired.freq = AUDIO_RATE;
    desired.format = AUDIO_FORMAT;
    desired.channels = AUDIO_CHANNELS;
    desired.samples = AUDIO_CHUNK;
    desired.callback = feed_device;
    if (SDL_Init(SDL_INIT_AUDIO) != 0 || SDL_OpenAudio(&desired, &output) < 0) {
        error_text = "this browser offers no Web Audio output";
        return false;
    }
    SDL_PauseAudio(0);
    return true;
}

std::string sound_error()
{
    return error_text;
}

// Loads an Ogg Vorbis effect; null when it is missing or does not decode.
SoundEffect* load_sound_effect(const std::string& path)
{
    std::vector<int16_t> samples = decode_vorbis(read_file(path));
    if (samples.empty()) {
        error_text = "Unrecognized sound file type";
        return nullptr;
    }
    effects.push_back(std::unique_ptr<SoundEffect>(new SoundEffect{std::move(samples)}));
    return effects.back().get();
}

// Loads a tracker song with libxmp; null when the file is missing or not a module libxmp plays.
SoundSong* load_song(const std::string& path)
{
    const std::vector<unsigned char> bytes = read_file(path);
    if (bytes.empty()) {
        error_text = "Couldn't open '" + path + "'";
        return nullptr;
    }
    const xmp_context player = xmp_create_context();
    if (xmp_load_module_from_memory(player, bytes.data(), static_cast<long>(bytes.size())) != 0) {
        xmp_free_context(player);
        error_text = "Unrecognized music format";
        return nullptr;
    }
    return new SoundSong{player};
}

// Starts the song from its beginning, looping for ever.
bool play_song_forever(SoundSong* song)
{
    if (!song) {
        error_text = "music parameter was NULL";
        return false;
    }
    if (xmp_start_player(song->player, output.freq, output.channels == 1 ? XMP_FORMAT_MONO : 0) != 0) {
        error_text = "the song cannot play at " + std::to_string(output.freq) + " Hz";
        return false;
    }
    playing_song = song;
    return true;
}

// Plays an effect once on the first free channel; with every channel busy it is not heard, as natively.
void play_sound_effect(SoundEffect* effect)
{
    channels.start(&effect->samples);
}

void mixer_skip_tick(long tick)
{
    if (output.freq <= 0)
        return;
    std::vector<int16_t> dropped(static_cast<size_t>(sample_frames_for_tick(tick, output.freq)) * output.channels);
    mix_audio(nullptr, reinterpret_cast<Uint8*>(dropped.data()), static_cast<int>(dropped.size() * BYTES_PER_SAMPLE));
}

double mixer_level()
{
    return last_level;
}

void mixer_hold(bool hold)
{
    held = hold;
    SDL_PauseAudio(hold ? 1 : 0);
    if (hold)
        last_level = 0.0;
}

void mixer_mute(bool mute)
{
    muted = mute;
}
