// Everything the show's core asks of its host, named once. The core calls these; each host
// implements them in its own folder: native/ for every host that runs on SDL 1.2 with SDL_image and
// SDL_mixer and glibc (the programs, the capture, the benchmarks, the test fixtures), web/ for the
// browser. The sine and cosine are the show's own (show_trig.h): no host needs to provide them.
// No host replaces a function of a library: a host that differs does so here.
//
// What the core is handed rather than asks for (the rest of the seam):
// - input: hold_tick_input(TickInput) (driver.h), the keys a tick reads, once a pass;
// - clock: main_pass(clock, now) (driver.h), the host saying what time it is;
// - start: run_to_tick(N, hook) (driver.h), the ticks before the first frame, a hook after each;
// - trace sink: send_trace_to(buffer) (trace.h), standard output until a host says otherwise;
// - surface: screen.h, SDL's video (or a host's context through make_context_with), fit_frame pure.
#ifndef HOST_SERVICES_H
#define HOST_SERVICES_H

#include <SDL/SDL.h>

#include <cstddef>
#include <string>

// -- random numbers -----------------------------------------------------------------------------

// The show's next random number, from 0 to 2147483647: glibc's rand(), whose sequence every choice
// of the show is written for.
int show_rand();

// Seeds the show's generator (glibc's srand()); before any seed it draws what seed 1 draws.
void seed_show_random(unsigned seed);

// -- images -------------------------------------------------------------------------------------

// Decodes the image file held in `bytes`: a surface whose pixels can be read without locking, or
// null when they do not decode. Free it with free_image.
SDL_Surface* decode_image(const unsigned char* bytes, size_t size);

// Frees a surface decode_image made; null is allowed.
void free_image(SDL_Surface* image);

// -- sound --------------------------------------------------------------------------------------

struct SoundEffect;   // an effect as the host keeps it, loaded once and kept to the end
struct SoundSong;     // the song as the host keeps it

// Opens the sound output in the show's format (AUDIO_RATE, AUDIO_FORMAT, AUDIO_CHANNELS,
// AUDIO_CHUNK of sound.h) and starts it; false when there is none (sound_error says why).
bool open_sound_output();

// The sound output's last error text: why a call failed, or what the output left to say after it
// opened (natively SDL's error text, usually empty; the trace shows it).
std::string sound_error();

// Loads the effect in the file at `path`; null when it is missing or does not decode.
SoundEffect* load_sound_effect(const std::string& path);

// Loads the song in the file at `path`; null when it is missing or not a song the host plays.
SoundSong* load_song(const std::string& path);

// Starts `song` from its beginning, looping for ever; false when it cannot play (a null song
// cannot), sound_error saying why.
bool play_song_forever(SoundSong* song);

// Plays `effect` once on the first free channel, over whatever plays.
void play_sound_effect(SoundEffect* effect);

#endif
