#include "sound_effects.h"

#include "sound_dsp.h"
#include "sound_voice.h"

namespace {

constexpr double EFFECT_PEAK = 0.7;     // headroom: lossy encoding overshoots the input's peak a little
constexpr int EDGE_RAMP = EFFECT_RATE / 200;   // 5 ms fades, too short to hear but enough to kill clicks

// A sock: a small mouth and a tense, bright yell.
constexpr VoiceStyle SOCK_VOICE{EFFECT_RATE, 1.2, 5.5, 0.5};
// The call: a lower, wider-open buzz with a fast wobble, more like a kazoo than a mouth.
constexpr VoiceStyle CALL_VOICE{EFFECT_RATE, 1.05, 9.0, 0.35};

constexpr double SYLLABLE = 0.24;   // seconds per "au" or "ah": a quick, excited rhythm
constexpr double FRICATIVE_F = 5000.0;   // Hz: "f" is a high, thin hiss
constexpr double FRICATIVE_CH = 2600.0;  // Hz: "ch" is lower and fuller

// Adds one "au": a yelp that starts open and closes its mouth while the pitch peaks.
void add_au(std::vector<VoiceKey>& keys, double start, double pitch)
{
    keys.push_back({start, pitch * 0.9, VOWEL_AH, 0.0});
    keys.push_back({start + 0.03, pitch, VOWEL_AH, 1.0});
    keys.push_back({start + 0.10, pitch * 1.1, VOWEL_AH, 1.0});
    keys.push_back({start + 0.17, pitch * 1.04, VOWEL_OO, 0.9});
    keys.push_back({start + 0.19, pitch, VOWEL_OO, 0.0});
}

// Adds one "ah" of a laugh: a breathy "h", then an open vowel that sags in pitch.
void add_ah(std::vector<VoiceKey>& keys, double start, double pitch)
{
    keys.push_back({start, pitch, VOWEL_AH, 0.0, 0.0, FRICATIVE_CH});
    keys.push_back({start + 0.03, pitch, VOWEL_AH, 0.1, 0.25, FRICATIVE_CH});
    keys.push_back({start + 0.06, pitch, VOWEL_AH, 1.0});
    keys.push_back({start + 0.15, pitch * 0.9, VOWEL_AH, 0.8});
    keys.push_back({start + 0.19, pitch * 0.85, VOWEL_AH, 0.0});
}

// A key of the call: pure buzz, no breath, with a pitch wobble of `wobble` semitones.
VoiceKey call_key(double time, double pitch, Vowel vowel, double voicing, double wobble)
{
    return {time, pitch, vowel, voicing, 0.0, FRICATIVE_CH, wobble};
}

// Renders `keys` with `style` and levels the result for encoding.
std::vector<double> finish(const std::vector<VoiceKey>& keys, const VoiceStyle& style)
{
    std::vector<double> sound = render_voice(keys, style);
    normalise(sound, EFFECT_PEAK);
    fade_edges(sound, EDGE_RAMP);
    return sound;
}

}  // namespace

std::vector<double> make_future_yell()
{
    const std::vector<VoiceKey> keys = {
        // "f": lips on teeth, no voice yet
        {0.00, 300, VOWEL_EE, 0.0, 0.0, FRICATIVE_F},
        {0.03, 300, VOWEL_EE, 0.0, 0.35, FRICATIVE_F},
        {0.10, 300, VOWEL_EE, 0.0, 0.3, FRICATIVE_F},
        // "yoo": the tongue slides back while the pitch climbs
        {0.13, 310, VOWEL_EE, 0.7},
        {0.18, 330, VOWEL_EE, 1.0},
        {0.32, 420, VOWEL_OO, 1.0},
        {0.44, 460, VOWEL_OO, 0.9, 0.0, FRICATIVE_CH, 0.3},
        {0.48, 450, VOWEL_OO, 0.0},
        // "ch": a short burst of air
        {0.52, 430, VOWEL_ER, 0.0, 0.6, FRICATIVE_CH},
        {0.59, 420, VOWEL_ER, 0.0, 0.5, FRICATIVE_CH},
        {0.62, 410, VOWEL_ER, 0.3, 0.1, FRICATIVE_CH},
        // "er": held, wobbling, falling away
        {0.66, 400, VOWEL_ER, 0.6},
        {0.92, 320, VOWEL_ER, 0.4, 0.0, FRICATIVE_CH, 0.6},
        {1.05, 270, VOWEL_ER, 0.25, 0.0, FRICATIVE_CH, 0.6},
        {1.12, 250, VOWEL_ER, 0.0},
    };
    return finish(keys, SOCK_VOICE);
}

std::vector<double> make_auau_yell()
{
    constexpr double AU_PITCHES[] = {330, 370, 415};   // Hz: each yelp a step higher, working up
    constexpr double AH_PITCHES[] = {440, 392, 349};   // Hz: the laugh tumbles back down
    std::vector<VoiceKey> keys;
    double start = 0.0;
    for (double pitch : AU_PITCHES) {
        add_au(keys, start, pitch);
        start += SYLLABLE;
    }
    for (double pitch : AH_PITCHES) {
        add_ah(keys, start, pitch);
        start += SYLLABLE;
    }
    keys.push_back({start + 0.05, 300, VOWEL_AH, 0.0});   // a breath of silence after the last "ah"
    return finish(keys, SOCK_VOICE);
}

std::vector<double> make_vlerveler_call()
{
    const std::vector<VoiceKey> keys = {
        // "vl": a lip buzz opening through an "l"
        call_key(0.00, 140, VOWEL_OO, 0.0, 1.5),
        call_key(0.04, 140, VOWEL_OO, 0.5, 1.5),
        call_key(0.10, 150, VOWEL_EH, 1.0, 1.5),
        // "er", wobbling hard
        call_key(0.22, 160, VOWEL_ER, 1.0, 1.5),
        call_key(0.36, 170, VOWEL_ER, 1.0, 1.5),
        call_key(0.41, 170, VOWEL_OO, 0.0, 1.5),
        // "ve": short and higher
        call_key(0.47, 190, VOWEL_OO, 0.5, 1.5),
        call_key(0.53, 200, VOWEL_EH, 1.0, 1.5),
        call_key(0.62, 210, VOWEL_EH, 1.0, 1.5),
        call_key(0.67, 210, VOWEL_OO, 0.0, 1.5),
        // "ler": the longest, sliding down with the widest wobble
        call_key(0.73, 220, VOWEL_OO, 0.6, 2.0),
        call_key(0.80, 220, VOWEL_ER, 1.0, 2.0),
        call_key(1.10, 160, VOWEL_ER, 1.0, 2.5),
        call_key(1.28, 120, VOWEL_ER, 0.0, 2.5),
    };
    return finish(keys, CALL_VOICE);
}
