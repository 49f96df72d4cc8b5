// The host services of every native host, over SDL 1.2, SDL_image and SDL_mixer.
#include "host_services.h"
#include "native_sound.h"

#include "sound.h"

#include <SDL/SDL_image.h>

#include <cstdlib>

constexpr int LOOP_FOREVER = -1;         // Mix_PlayMusic loop count
constexpr int FIRST_FREE_CHANNEL = -1;   // Mix_PlayChannelTimed channel choice
constexpr int NO_TIME_LIMIT = -1;        // Mix_PlayChannelTimed duration

// glibc's own generator. SDL_mixer's song player (libmikmod's random()) draws from its state too, so
// a show with the song playing makes other choices than one without (make_reference.sh); the
// capture, which mixes in step with the ticks, makes the same ones every run.
int show_rand()
{
    return std::rand();
}

// Seeds glibc's generator.
void seed_show_random(unsigned seed)
{
    std::srand(seed);
}

// Decodes an image file's bytes with SDL_image.
SDL_Surface* decode_image(const unsigned char* bytes, size_t size)
{
    return IMG_Load_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
}

// Frees a surface SDL_image made.
void free_image(SDL_Surface* image)
{
    SDL_FreeSurface(image);
}

// Starts SDL's audio and opens SDL_mixer in the show's format.
bool open_sound_output()
{
    return SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(AUDIO_RATE, AUDIO_FORMAT, AUDIO_CHANNELS, AUDIO_CHUNK) >= 0;
}

// SDL's error text, which SDL_mixer sets too.
std::string sound_error()
{
    return SDL_GetError();
}

// Loads a WAV effect into SDL_mixer.
SoundEffect* load_sound_effect(const std::string& path)
{
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
    return chunk ? new SoundEffect{chunk} : nullptr;
}

// Loads the song into SDL_mixer's music player.
SoundSong* load_song(const std::string& path)
{
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    return music ? new SoundSong{music} : nullptr;
}

// Plays the song on a loop from its beginning.
bool play_song_forever(SoundSong* song)
{
    return Mix_PlayMusic(song ? song->music : nullptr, LOOP_FOREVER) != -1;
}

// Plays an effect on the first free channel, to its end.
void play_sound_effect(SoundEffect* effect)
{
    Mix_PlayChannelTimed(FIRST_FREE_CHANNEL, effect->chunk, 0, NO_TIME_LIMIT);
}
