// The native hosts' sound: SDL_mixer's chunks and music behind the show's effects and song.
#ifndef NATIVE_SOUND_H
#define NATIVE_SOUND_H

#include "host_services.h"

#include <SDL/SDL_mixer.h>

// An effect: SDL_mixer's chunk of it.
struct SoundEffect {
    Mix_Chunk* chunk;
};

// The song: SDL_mixer's music of it.
struct SoundSong {
    Mix_Music* music;
};

#endif
