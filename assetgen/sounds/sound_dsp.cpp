#include "sound_dsp.h"

#include <algorithm>
#include <cmath>

double NoiseSource::next()
{
    // xorshift32: fast, full-period, and the same sequence on every machine
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state / 2147483647.5 - 1.0;
}

void Resonator::tune(double centre_hz, double bandwidth_hz, double sample_rate)
{
    const double radius = std::exp(-M_PI * bandwidth_hz / sample_rate);
    feedback1 = 2.0 * radius * std::cos(TWO_PI * centre_hz / sample_rate);
    feedback2 = -radius * radius;
    gain = 1.0 - feedback1 - feedback2;
}

double Resonator::process(double in)
{
    const double out = gain * in + feedback1 * out1 + feedback2 * out2;
    out2 = out1;
    out1 = out;
    return out;
}

OnePole::OnePole(double corner_hz, double sample_rate)
    : coefficient(1.0 - std::exp(-TWO_PI * corner_hz / sample_rate))
{
}

double OnePole::process(double in)
{
    state += coefficient * (in - state);
    return state;
}

double mix(double from, double to, double t)
{
    return from + (to - from) * t;
}

void normalise(std::vector<double>& signal, double peak)
{
    double largest = 0.0;
    for (double value : signal)
        largest = std::max(largest, std::fabs(value));
    if (largest > 0.0)
        for (double& value : signal)
            value *= peak / largest;
}

void fade_edges(std::vector<double>& signal, int ramp)
{
    const int length = static_cast<int>(signal.size());
    for (int i = 0; i < ramp && i < length; ++i) {
        const double weight = static_cast<double>(i) / ramp;
        signal[i] *= weight;
        signal[length - 1 - i] *= weight;
    }
}

std::vector<int16_t> to_pcm16(const std::vector<double>& signal)
{
    constexpr double FULL_SCALE = 32767.0;   // largest positive 16-bit sample
    std::vector<int16_t> pcm;
    pcm.reserve(signal.size());
    for (double value : signal)
        pcm.push_back(static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * FULL_SCALE)));
    return pcm;
}
