// The capture's sound (host_services.h), made tick by tick by the capture loop instead of by a sound
// card's thread. The song is played by libmikmod and the effects decoded by libvorbisfile, each set
// up and mixed as SDL_mixer sets them up and mixes them for the programs, so the capture's sound is
// the programs' byte for byte, and libmikmod draws from glibc's generator at the same moments of the
// show every run.
#ifndef LOCKSTEP_SOUND_H
#define LOCKSTEP_SOUND_H

#include <cstdint>
#include <vector>

// Whether the sound output opened, so the capture loop can mix it.
bool lockstep_sound_open();

// Mixes the song and the effects for the sample frames of show tick `tick` and appends them,
// interleaved, in the show's format (sound.h), to `samples`.
void mix_tick(long tick, std::vector<int16_t>& samples);

#endif
