#include "lockstep_sound.h"

#include "host_services.h"
#include "mix_core.h"
#include "sound.h"
#include "ticks.h"

#include <SDL/SDL.h>
#include <mikmod.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>

// An effect: its samples in the show's format, whole frames only.
struct SoundEffect {
    std::vector<int16_t> samples;
};

// The song: libmikmod's module of it.
struct SoundSong {
    MODULE* module;
};

namespace {

// libmikmod as SDL_mixer sets it up for 16-bit stereo: its high-quality software mixer, with surround.
constexpr UWORD SONG_MODE = DMODE_16BITS | DMODE_STEREO | DMODE_HQMIXER | DMODE_SOFT_MUSIC | DMODE_SURROUND;
constexpr UBYTE SONG_MASTER_VOLUME = 96;   // SDL_mixer's md_volume, of 128: how loud the song is mixed
constexpr UBYTE MIKMOD_FULL = 128;         // libmikmod's full music and effect volume, and full stereo separation
constexpr int SONG_VOICES = 64;            // the most voices SDL_mixer lets a song use
constexpr SWORD SONG_VOLUME = 128;         // SDL_mixer's full music volume, which it hands to Player_SetVolume

// An effect longer than this is refused: a damaged file may claim any length, and the whole effect
// is decoded into memory before it plays.
constexpr long LONGEST_EFFECT_SECONDS = 600;

constexpr int VORBIS_LITTLE_ENDIAN = 0;   // ov_read's word order, sample size and signedness:
constexpr int VORBIS_16_BIT = 2;          // SDL_mixer's, signed 16-bit little-endian
constexpr int VORBIS_SIGNED = 1;

std::deque<SoundEffect> loaded_effects;   // every effect loaded, kept to the end at a fixed place
std::deque<SoundSong> loaded_songs;       // the same for songs
bool opened = false;                      // whether libmikmod started
std::string last_error;                   // sound_error's text
EffectChannels effects;                   // the effects playing, mixed over the song
MODULE* song_playing = nullptr;           // the song started for ever, or null

// A sound as its file holds it: raw samples in SDL's description of their format.
struct DecodedSound {
    std::vector<Uint8> bytes;
    Uint16 format = AUDIO_S16LSB;
    int channels = 0;
    int rate = 0;
};

// Decodes the Ogg Vorbis file at `path` as SDL_mixer does: its whole length as it claims it, signed
// 16-bit little-endian; a shorter stream leaves silence at the end.
bool decode_vorbis(const std::string& path, DecodedSound& sound)
{
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) {
        last_error = "OGG bitstream is not valid Vorbis stream!";
        return false;
    }
    const vorbis_info* info = ov_info(&file, -1);
    const ogg_int64_t frames = ov_pcm_total(&file, -1);
    if (!info || frames < 0 || frames > LONGEST_EFFECT_SECONDS * info->rate) {
        last_error = "the Vorbis stream is not an effect of at most " + std::to_string(LONGEST_EFFECT_SECONDS) + " s";
        ov_clear(&file);
        return false;
    }
    sound.channels = info->channels;
    sound.rate = static_cast<int>(info->rate);
    sound.bytes.assign(static_cast<size_t>(frames) * sound.channels * sizeof(int16_t), 0);
    size_t at = 0;
    int bitstream = -1;
    while (at < sound.bytes.size()) {
        const long read = ov_read(&file, reinterpret_cast<char*>(sound.bytes.data() + at),
                                  static_cast<int>(sound.bytes.size() - at), VORBIS_LITTLE_ENDIAN, VORBIS_16_BIT,
                                  VORBIS_SIGNED, &bitstream);
        if (read <= 0)
            break;
        at += static_cast<size_t>(read);
    }
    ov_clear(&file);
    return true;
}

// Decodes the WAV file at `path` with SDL.
bool decode_wav(const std::string& path, DecodedSound& sound)
{
    SDL_AudioSpec wav_format;
    Uint8* bytes = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(path.c_str(), &wav_format, &bytes, &length)) {
        last_error = SDL_GetError();
        return false;
    }
    sound.bytes.assign(bytes, bytes + length);
    sound.format = wav_format.format;
    sound.channels = wav_format.channels;
    sound.rate = wav_format.freq;
    SDL_FreeWAV(bytes);
    return true;
}

// Decodes the effect file at `path` by the kind its first four bytes name, as SDL_mixer does for
// the two kinds the show's effects may be.
bool decode_effect(const std::string& path, DecodedSound& sound)
{
    char magic[4] = {};
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        last_error = "Couldn't open " + path;
        return false;
    }
    const size_t read = std::fread(magic, 1, sizeof magic, file);
    std::fclose(file);
    if (read == sizeof magic && std::memcmp(magic, "OggS", sizeof magic) == 0)
        return decode_vorbis(path, sound);
    if (read == sizeof magic && std::memcmp(magic, "RIFF", sizeof magic) == 0)
        return decode_wav(path, sound);
    last_error = "Unrecognized sound file type";
    return false;
}

// Brings a decoded sound to the show's format with SDL's converter, as SDL_mixer does, and keeps
// its whole frames; false when SDL cannot convert it.
bool to_show_format(DecodedSound& sound, std::vector<int16_t>& samples)
{
    if (sound.format != AUDIO_FORMAT || sound.channels != AUDIO_CHANNELS || sound.rate != AUDIO_RATE) {
        SDL_AudioCVT converter;
        if (SDL_BuildAudioCVT(&converter, sound.format, static_cast<Uint8>(sound.channels), sound.rate, AUDIO_FORMAT,
                              AUDIO_CHANNELS, AUDIO_RATE) < 0) {
            last_error = SDL_GetError();
            return false;
        }
        const size_t frame_bytes = static_cast<size_t>((sound.format & 0xFF) / 8) * sound.channels;
        const size_t length = sound.bytes.size() - sound.bytes.size() % frame_bytes;
        sound.bytes.resize(length * converter.len_mult, 0);
        converter.buf = sound.bytes.data();
        converter.len = static_cast<int>(length);
        if (SDL_ConvertAudio(&converter) < 0) {
            last_error = SDL_GetError();
            return false;
        }
        sound.bytes.resize(static_cast<size_t>(converter.len_cvt));
    }
    const size_t whole = sound.bytes.size() / sizeof(int16_t) / AUDIO_CHANNELS * AUDIO_CHANNELS;
    samples.resize(whole);
    std::memcpy(samples.data(), sound.bytes.data(), whole * sizeof(int16_t));
    return true;
}

// Starts `module` from its beginning at SDL_mixer's full volume, stopping any song playing first,
// in SDL_mixer's order of calls.
void start_song(MODULE* module)
{
    if (song_playing)
        Player_Stop();
    Player_Start(module);            // which resumes where the song stopped,
    Player_SetVolume(SONG_VOLUME);   // (libmikmod keeps no volume before a song starts)
    Player_SetPosition(0);           // so it is sent back to its first position
    song_playing = module;
}

// Writes the next `count` samples of the song into `span`, starting it again whenever it has
// ended, as SDL_mixer does for a song played for ever; the span stays silent without a song.
void mix_song(int16_t* span, size_t count)
{
    if (!song_playing)
        return;
    if (!Player_Active())
        start_song(song_playing);
    if (!Player_Active())
        return;
    VC_WriteBytes(reinterpret_cast<SBYTE*>(span), static_cast<ULONG>(count * sizeof(int16_t)));
}

}  // namespace

// Starts libmikmod on its silent driver, which leaves the mixing to VC_WriteBytes.
bool open_sound_output()
{
    if (opened)
        return true;
    md_mode = SONG_MODE;
    md_mixfreq = AUDIO_RATE;
    md_device = 0;
    md_volume = SONG_MASTER_VOLUME;
    md_musicvolume = MIKMOD_FULL;
    md_sndfxvolume = MIKMOD_FULL;
    md_pansep = MIKMOD_FULL;
    md_reverb = 0;
    MikMod_RegisterDriver(&drv_nos);
    MikMod_RegisterAllLoaders();
    if (MikMod_Init(nullptr) != 0) {
        last_error = MikMod_strerror(MikMod_errno);
        return false;
    }
    opened = true;
    last_error.clear();
    return true;
}

// The last error of the capture's sound.
std::string sound_error()
{
    return last_error;
}

// Loads an effect, decoded and brought to the show's format.
SoundEffect* load_sound_effect(const std::string& path)
{
    DecodedSound sound;
    std::vector<int16_t> samples;
    if (!decode_effect(path, sound) || !to_show_format(sound, samples))
        return nullptr;
    return &loaded_effects.emplace_back(SoundEffect{std::move(samples)});
}

// Loads the song into libmikmod, told to end at its end: mix_song starts it again.
SoundSong* load_song(const std::string& path)
{
    MODULE* module = Player_Load(path.c_str(), SONG_VOICES, 0);
    if (!module) {
        last_error = MikMod_strerror(MikMod_errno);
        return nullptr;
    }
    module->extspd = 1;    // the song's own speed changes are honoured,
    module->panflag = 1;   // and its panning,
    module->wrap = 0;      // but it neither wraps to its start
    module->loop = 0;      // nor follows its own loops back
    return &loaded_songs.emplace_back(SoundSong{module});
}

// Starts the song; a null song fails with SDL_mixer's words.
bool play_song_forever(SoundSong* song)
{
    if (!song) {
        last_error = "music parameter was NULL";
        return false;
    }
    start_song(song->module);
    return true;
}

// Plays an effect on the first free channel; with all eight busy it is dropped, as SDL_mixer drops it.
void play_sound_effect(SoundEffect* effect)
{
    effects.start(&effect->samples);
}

bool lockstep_sound_open()
{
    return opened;
}

void mix_tick(long tick, std::vector<int16_t>& samples)
{
    const size_t first = samples.size();
    const size_t count = static_cast<size_t>(sample_frames_for_tick(tick, AUDIO_RATE)) * AUDIO_CHANNELS;
    samples.resize(first + count, 0);   // silence, which the song overwrites and the effects are added to
    mix_song(samples.data() + first, count);
    effects.mix(samples.data() + first, count);
}
