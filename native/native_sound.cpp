// The sound of the programs, the benchmarks and the test fixtures (host_services.h): SDL_mixer's,
// mixed by SDL's audio thread at the sound card's pace.
#include "host_services.h"
#include "native_sound.h"

#include "sound.h"

constexpr int LOOP_FOREVER = -1;         // Mix_PlayMusic loop count
constexpr int FIRST_FREE_CHANNEL = -1;   // Mix_PlayChannelTimed channel choice
constexpr int NO_TIME_LIMIT = -1;        // Mix_PlayChannelTimed duration

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
