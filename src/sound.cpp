#include "sound.h"

#include "showfiles.h"
#include "trace.h"

#include <SDL/SDL.h>

constexpr int LOOP_FOREVER = -1;       // Mix_PlayMusic loop count
constexpr int FIRST_FREE_CHANNEL = -1; // Mix_PlayChannelTimed channel choice
constexpr int NO_TIME_LIMIT = -1;      // Mix_PlayChannelTimed duration

std::vector<std::string> soundfiles(EFFECT_FILES.begin(), EFFECT_FILES.end());
std::vector<Mix_Chunk*> sounds;
Mix_Music* song = nullptr;

// Loads every effect of soundfiles that decodes, tracing each.
static void load_effects()
{
    for (const std::string& name : soundfiles) {
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(name.c_str(), "rb"), 1);
        if (chunk) {
            trace() << "LOADED SOUND: " << name << std::endl;
            sounds.push_back(chunk);
        } else {
            trace() << "ERROR LOADING SOUND: " << name << std::endl;
        }
    }
}

// Opens the audio output, loads the effects and the song, and starts the song.
bool init_sound()
{
    song = nullptr;
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        trace() << "AUDIO ERROR: " << SDL_GetError() << std::endl;
        return false;
    }
    if (Mix_OpenAudio(AUDIO_RATE, AUDIO_FORMAT, AUDIO_CHANNELS, AUDIO_CHUNK) < 0) {
        trace() << "AUDIO ERROR: " << SDL_GetError() << std::endl;
        return false;
    }
    trace() << "AUDIO" << SDL_GetError();
    load_effects();
    song = Mix_LoadMUS(SONG_FILE);
    if (song)
        trace() << "LOADED SONG" << std::endl;
    else
        trace() << "SONG LOAD FAIL" << std::endl;
    play_song();
    return true;
}

// Starts the song looping forever.
void play_song()
{
    trace() << "PLAY SONG" << std::endl;
    if (Mix_PlayMusic(song, LOOP_FOREVER) == -1)
        trace() << "MUSIC ERROR: " << SDL_GetError() << std::endl;
    else
        trace() << "PLAYING SONG" << std::endl;
}

// Plays effect `index` once on a free channel.
void play_sound(int index)
{
    if (static_cast<unsigned>(index) < sounds.size())
        Mix_PlayChannelTimed(FIRST_FREE_CHANNEL, sounds[index], 0, NO_TIME_LIMIT);
    else
        trace() << "Sound out of range." << std::endl;
}
