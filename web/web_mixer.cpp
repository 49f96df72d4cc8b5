#include "web_mixer.h"

#include "mix_core.h"
#include "web_rwops.h"

#include "ticks.h"

#include <SDL/SDL.h>
#include <SDL/SDL_mixer.h>
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
constexpr int FULL_VOLUME = 128;        // MIX_MAX_VOLUME: effects play unscaled, as the show leaves them
constexpr int SONG_LOOPS_FOREVER = 0;   // xmp_play_buffer's loop count for a song without end

// A loaded song: a player of its own.
struct _Mix_Music {
    xmp_context player;
};

namespace {

// An effect in the output format, with the SDL_mixer record that names it.
struct Effect {
    Mix_Chunk chunk;
    std::vector<int16_t> samples;
};

SDL_AudioSpec output = {};                      // the format the browser's audio opened with
std::vector<std::unique_ptr<Effect>> effects;   // every effect loaded; kept to the end, as natively
EffectChannels channels;                        // the effects playing
Mix_Music* playing_song = nullptr;              // the song playing, or null
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

// The effect whose record is `chunk`, or null.
Effect* effect_of(Mix_Chunk* chunk)
{
    for (const std::unique_ptr<Effect>& effect : effects)
        if (&effect->chunk == chunk)
            return effect.get();
    return nullptr;
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
extern "C" int Mix_OpenAudio(int frequency, Uint16 format, int channel_count, int chunksize)
{
    SDL_AudioSpec desired = {};
    desired.freq = frequency;
    desired.format = format;
    desired.channels = static_cast<Uint8>(channel_count);
    desired.samples = static_cast<Uint16>(chunksize);
    desired.callback = feed_device;
    if (format != AUDIO_S16LSB) {
        SDL_SetError("only signed 16-bit sound is mixed here");
        return -1;
    }
    if (SDL_OpenAudio(&desired, &output) < 0) {
        SDL_SetError("this browser offers no Web Audio output");
        return -1;
    }
    SDL_PauseAudio(0);
    return 0;
}

// Loads an Ogg Vorbis effect from the file behind `source`; null when it is missing or does not decode.
extern "C" Mix_Chunk* Mix_LoadWAV_RW(SDL_RWops* source, int freesrc)
{
    char* name = rwops_file_name(source);
    const std::vector<unsigned char> bytes = name ? read_file(name) : std::vector<unsigned char>();
    std::free(name);
    if (freesrc)
        SDL_FreeRW(source);
    std::vector<int16_t> samples = decode_vorbis(bytes);
    if (samples.empty()) {
        SDL_SetError("Unrecognized sound file type");
        return nullptr;
    }
    std::unique_ptr<Effect> effect(new Effect{});
    effect->samples = std::move(samples);
    effect->chunk.allocated = 1;
    effect->chunk.abuf = reinterpret_cast<Uint8*>(effect->samples.data());
    effect->chunk.alen = static_cast<Uint32>(effect->samples.size() * BYTES_PER_SAMPLE);
    effect->chunk.volume = FULL_VOLUME;
    effects.push_back(std::move(effect));
    return &effects.back()->chunk;
}

// Loads a tracker song with libxmp; null when the file is missing or not a module libxmp plays.
extern "C" Mix_Music* Mix_LoadMUS(const char* file)
{
    const std::vector<unsigned char> bytes = read_file(file ? file : "");
    if (bytes.empty()) {
        SDL_SetError("Couldn't open '%s'", file ? file : "");
        return nullptr;
    }
    const xmp_context player = xmp_create_context();
    if (xmp_load_module_from_memory(player, bytes.data(), static_cast<long>(bytes.size())) != 0) {
        xmp_free_context(player);
        SDL_SetError("Unrecognized music format");
        return nullptr;
    }
    return new Mix_Music{player};
}

// Starts the song from its beginning; it loops for ever whatever `loops` says, as the show asks no other.
extern "C" int Mix_PlayMusic(Mix_Music* music, int)
{
    if (!music) {
        SDL_SetError("music parameter was NULL");
        return -1;
    }
    if (xmp_start_player(music->player, output.freq, output.channels == 1 ? XMP_FORMAT_MONO : 0) != 0) {
        SDL_SetError("the song cannot play at %d Hz", output.freq);
        return -1;
    }
    playing_song = music;
    return 0;
}

// Plays an effect once on the first free channel (the show asks for no other channel, loop or limit).
extern "C" int Mix_PlayChannelTimed(int, Mix_Chunk* chunk, int, int)
{
    Effect* effect = effect_of(chunk);
    const int channel = effect ? channels.start(&effect->samples) : -1;
    if (channel < 0)
        SDL_SetError("No free channels available");
    return channel;
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
