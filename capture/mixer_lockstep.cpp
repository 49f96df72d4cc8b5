#include "mixer_lockstep.h"

#include "ticks.h"

#include <dlfcn.h>

namespace {

constexpr int BYTES_PER_SAMPLE = 2;   // signed 16-bit samples

using MixingFunction = void(SDLCALL*)(void* userdata, Uint8* stream, int len);   // SDL 1.2 names no such type

MixingFunction mixer_callback = nullptr;      // SDL_mixer's mixing function
void* mixer_userdata = nullptr;               // what SDL_mixer asked to be handed back
SDL_AudioSpec opened_spec = {};               // the format the device opened with, which the mixer mixes in

// Stands in for the mixer on the dummy device's thread: the device's buffers stay silent and unused.
void leave_device_silent(void*, Uint8*, int) {}

using OpenAudioFunction = int (*)(SDL_AudioSpec*, SDL_AudioSpec*);

// SDL's own SDL_OpenAudio, the next definition after this program's.
OpenAudioFunction sdl_open_audio()
{
    static const OpenAudioFunction next = reinterpret_cast<OpenAudioFunction>(dlsym(RTLD_NEXT, "SDL_OpenAudio"));
    return next;
}

}  // namespace

// Opens the device for SDL_mixer as SDL would, but keeps the mixing function for the capture loop.
extern "C" int SDL_OpenAudio(SDL_AudioSpec* desired, SDL_AudioSpec* obtained)
{
    const OpenAudioFunction open = sdl_open_audio();
    if (!open) {
        SDL_SetError("SDL_OpenAudio not found in SDL");
        return -1;
    }
    SDL_AudioSpec device = *desired;
    device.callback = leave_device_silent;
    device.userdata = nullptr;
    const int result = open(&device, obtained);
    if (result < 0)
        return result;
    mixer_callback = desired->callback;
    mixer_userdata = desired->userdata;
    opened_spec = obtained ? *obtained : device;
    return result;
}

bool mixer_in_lockstep()
{
    return mixer_callback != nullptr;
}

const SDL_AudioSpec& mixer_spec()
{
    return opened_spec;
}

bool mixer_format_is(int rate, int channels, std::string& problem)
{
    if (opened_spec.freq == rate && opened_spec.channels == channels && opened_spec.format == AUDIO_S16LSB)
        return true;
    problem = "the mixer opened " + std::to_string(opened_spec.freq) + " Hz, " +
              std::to_string(opened_spec.channels) + " channels, format " + std::to_string(opened_spec.format) +
              " instead of the show's " + std::to_string(rate) + " Hz 16-bit " + std::to_string(channels) +
              " channels";
    return false;
}

void mix_tick(long tick, std::vector<int16_t>& samples)
{
    const size_t first = samples.size();
    const size_t count = static_cast<size_t>(sample_frames_for_tick(tick, opened_spec.freq)) * opened_spec.channels;
    samples.resize(first + count, static_cast<int16_t>(opened_spec.silence));   // SDL pre-fills silence too
    SDL_LockAudio();
    mixer_callback(mixer_userdata, reinterpret_cast<Uint8*>(samples.data() + first),
                   static_cast<int>(count * BYTES_PER_SAMPLE));
    SDL_UnlockAudio();
}
