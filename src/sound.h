// Sound effects and the looping song, through the host's sound (host_services.h).
#ifndef SOUND_H
#define SOUND_H

#include "host_services.h"

#include <string>
#include <vector>

constexpr int AUDIO_RATE = 11025;        // Hz of the audio output
constexpr Uint16 AUDIO_FORMAT = 0x8010;  // AUDIO_S16LSB: signed 16-bit little-endian samples
constexpr int AUDIO_CHANNELS = 2;        // stereo
constexpr int AUDIO_CHUNK = 1024;        // sample frames per mixing buffer

enum { SOUND_FUTURE = 0, SOUND_AUAUAU = 1, SOUND_VLERVELER = 2 };   // effect indices while all load

extern std::vector<std::string> soundfiles;   // the effect files, in index order
extern std::vector<SoundEffect*> sounds;      // the effects that loaded, in file order
extern SoundSong* song;                       // the song, or null

// Opens audio, loads the effects and the song and starts the song; false if audio cannot open.
bool init_sound();

// Starts the song looping forever.
void play_song();

// Plays effect `index` once on a free channel, or traces "Sound out of range.".
void play_sound(int index);

#endif
