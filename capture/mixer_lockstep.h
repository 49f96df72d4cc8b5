// The mixer's sound, made tick by tick from the capture loop instead of by the audio device.
//
// SDL_mixer opens its output with SDL_OpenAudio and hands SDL its mixing function, which SDL's
// audio thread then calls at the sound card's pace. This program defines SDL_OpenAudio itself (the
// program's definition takes the place of the library's for SDL_mixer too): it keeps the mixing
// function, opens SDL's dummy device with a callback that does nothing, and leaves the mixing to
// mix_tick, which the capture loop calls once per logic tick.
#ifndef MIXER_LOCKSTEP_H
#define MIXER_LOCKSTEP_H

#include <SDL/SDL.h>
#include <cstdint>
#include <string>
#include <vector>

// Whether the mixer opened its output through this program, so its mixing can be run from here.
bool mixer_in_lockstep();

// The output format the mixer mixes in (valid once the mixer has opened).
const SDL_AudioSpec& mixer_spec();

// Checks the mixer's format is the show's: signed 16-bit little-endian at `rate` Hz with
// `channels` channels; otherwise false with the reason in `problem`.
bool mixer_format_is(int rate, int channels, std::string& problem);

// Runs the mixer for the sample frames of show tick `tick` and appends them, interleaved, to `samples`.
void mix_tick(long tick, std::vector<int16_t>& samples);

#endif
