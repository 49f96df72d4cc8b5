// The arithmetic of the mixers that run in the host's own program (the browser's and the capture's),
// free of SDL, the browser and any decoder: sounds brought to the output format, effect channels
// that play as SDL_mixer's do, mixing with clipping, the output level.
#ifndef MIX_CORE_H
#define MIX_CORE_H

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int MIX_EFFECT_CHANNELS = 8;   // SDL_mixer's default channel count: a ninth effect at once is dropped

// Brings decoded samples (interleaved, `in_channels` per frame, at `in_rate` Hz) to `out_channels` per
// frame at `out_rate` Hz by linear interpolation; mono is copied to every output channel and other layouts
// keep their first channels. Empty when any count or rate is not positive.
std::vector<int16_t> convert_sound(const int16_t* samples, size_t frames, int in_channels, int in_rate,
                                   int out_channels, int out_rate);

// Adds `count` samples of `source` onto `target`, clipping each sum to the 16-bit range as SDL_MixAudio does.
void mix_onto(int16_t* target, const int16_t* source, size_t count);

// Root mean square of the samples, as a share of full scale (0 for none).
double sound_level(const int16_t* samples, size_t count);

// The effect channels: each plays one sound from its start to its end, once.
class EffectChannels {
public:
    // Starts `sound` (output-format samples, kept by the caller) on the first free channel;
    // returns the channel, or -1 when every channel is busy or the sound is empty.
    int start(const std::vector<int16_t>* sound);

    // Mixes the next `count` samples of every playing channel onto `target`; a finished channel is freed.
    void mix(int16_t* target, size_t count);

    // How many channels are playing.
    int playing() const;

private:
    struct Channel {
        const std::vector<int16_t>* sound = nullptr;   // null while the channel is free
        size_t at = 0;                                  // next sample to play
    };
    Channel channels[MIX_EFFECT_CHANNELS];
};

#endif
