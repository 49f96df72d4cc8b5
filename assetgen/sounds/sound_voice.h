// A small formant voice: a buzzing glottal source and a hiss, shaped by three vowel
// resonances, steered by a list of key moments that it glides between.
#ifndef SOUND_VOICE_H
#define SOUND_VOICE_H

#include <vector>

// The first three resonances of a vowel, in Hz.
struct Vowel {
    double f1, f2, f3;
};

// Adult vowel resonances; the voice scales them up for a sock's small mouth.
constexpr Vowel VOWEL_AH{730, 1090, 2440};   // "ah" as in father
constexpr Vowel VOWEL_OO{300, 870, 2240};    // "oo" as in boot
constexpr Vowel VOWEL_EE{270, 2290, 3010};   // "ee" as in beet, the glide into "you"
constexpr Vowel VOWEL_ER{490, 1350, 1690};   // "er" as in her, with its low third resonance
constexpr Vowel VOWEL_EH{530, 1840, 2480};   // "eh" as in bed

// One moment of the voice; between two keys every value glides in a straight line.
struct VoiceKey {
    double time;              // seconds from the start
    double pitch;             // glottal frequency in Hz
    Vowel vowel;              // the mouth shape
    double voicing;           // loudness of the buzz, 0 to 1
    double hiss = 0.0;        // loudness of the breath noise, 0 to 1
    double hiss_centre = 3000.0;  // where the hiss is focused, in Hz ("f" high, "ch" lower)
    double vibrato = 0.0;     // pitch wobble depth in semitones
};

// How one speaker sounds, whatever it says.
struct VoiceStyle {
    double sample_rate;       // Hz of the rendered signal
    double mouth_scale;       // formant scale: above 1 for a smaller mouth than an adult's
    double vibrato_rate;      // Hz of the pitch wobble
    double open_quotient;     // share of each glottal cycle the folds stay open: lower is buzzier
};

// Renders the keyed utterance, from time 0 to the last key, as samples in [-1, 1].
std::vector<double> render_voice(const std::vector<VoiceKey>& keys, const VoiceStyle& style);

#endif
