// The show's three sound effects: a sock's two yells and the call of socks and fridges.
#ifndef SOUND_EFFECTS_H
#define SOUND_EFFECTS_H

#include <vector>

constexpr int EFFECT_RATE = 22050;   // Hz: a multiple of 11025, which the mixer halves cleanly to the show's rate

// "Future!": a shouted two-syllable "fyoo-cher" that rises, then falls.
std::vector<double> make_future_yell();

// "AUAUAUAHAHAH": three "au" yelps gliding up, then three "ah"s laughing down.
std::vector<double> make_auau_yell();

// "VLERVELER": a wobbling, buzzing three-syllable warble.
std::vector<double> make_vlerveler_call();

#endif
