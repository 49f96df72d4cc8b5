#include "sound.h"

#include "showfiles.h"
#include "trace.h"

std::vector<std::string> soundfiles(EFFECT_FILES.begin(), EFFECT_FILES.end());
std::vector<SoundEffect*> sounds;
SoundSong* song = nullptr;

// Loads every effect of soundfiles that decodes, tracing each.
static void load_effects()
{
    for (const std::string& name : soundfiles) {
        SoundEffect* effect = load_sound_effect(name);
        if (effect) {
            trace() << "LOADED SOUND: " << name << std::endl;
            sounds.push_back(effect);
        } else {
            trace() << "ERROR LOADING SOUND: " << name << std::endl;
        }
    }
}

// Opens the audio output, loads the effects and the song, and starts the song.
bool init_sound()
{
    song = nullptr;
    if (!open_sound_output()) {
        trace() << "AUDIO ERROR: " << sound_error() << std::endl;
        return false;
    }
    trace() << "AUDIO" << sound_error();
    load_effects();
    song = load_song(SONG_FILE);
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
    if (!play_song_forever(song))
        trace() << "MUSIC ERROR: " << sound_error() << std::endl;
    else
        trace() << "PLAYING SONG" << std::endl;
}

// Plays effect `index` once on a free channel.
void play_sound(int index)
{
    if (static_cast<unsigned>(index) < sounds.size())
        play_sound_effect(sounds[index]);
    else
        trace() << "Sound out of range." << std::endl;
}
