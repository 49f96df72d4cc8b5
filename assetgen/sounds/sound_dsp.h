// Small signal-processing pieces shared by the effects and the song's instruments:
// a noise source, a formant resonator, a one-pole smoother and level helpers.
#ifndef SOUND_DSP_H
#define SOUND_DSP_H

#include <cstdint>
#include <vector>

constexpr double TWO_PI = 6.283185307179586;   // one full cycle of a sine, in radians

// White noise from a fixed seed, so every run hears the same hiss.
class NoiseSource {
public:
    explicit NoiseSource(uint32_t seed) : state(seed) {}
    // The next noise value, uniform in [-1, 1].
    double next();

private:
    uint32_t state;
};

// A two-pole resonance (the classic formant filter): unity gain at 0 Hz, a peak at `centre`.
class Resonator {
public:
    // Moves the resonance; cheap enough to call every sample for gliding formants.
    void tune(double centre_hz, double bandwidth_hz, double sample_rate);
    // Filters one input sample.
    double process(double in);

private:
    double gain = 1.0, feedback1 = 0.0, feedback2 = 0.0;
    double out1 = 0.0, out2 = 0.0;
};

// A one-pole low-pass: keeps what lies below `corner_hz`; the input minus it is the high part.
class OnePole {
public:
    OnePole(double corner_hz, double sample_rate);
    // Filters one input sample.
    double process(double in);

private:
    double coefficient;
    double state = 0.0;
};

// Linear interpolation from `from` to `to` at position `t` in [0, 1].
double mix(double from, double to, double t);

// Scales `signal` so its largest magnitude becomes `peak`.
void normalise(std::vector<double>& signal, double peak);

// Ramps the first and last `ramp` samples of `signal` from and to silence, so it starts and ends without a click.
void fade_edges(std::vector<double>& signal, int ramp);

// Rounds a signal in [-1, 1] to 16-bit samples.
std::vector<int16_t> to_pcm16(const std::vector<double>& signal);

#endif
