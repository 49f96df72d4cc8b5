#include "sound_voice.h"

#include "sound_dsp.h"

#include <cmath>

namespace {

constexpr double BANDWIDTH_F1 = 90.0;    // Hz: formant bandwidths of a raised, yelling voice
constexpr double BANDWIDTH_F2 = 120.0;
constexpr double BANDWIDTH_F3 = 200.0;
constexpr double HISS_BANDWIDTH = 1800.0;   // Hz: fricatives are broad bands of noise
constexpr double HISS_GAIN = 6.0;        // white noise through the narrow hiss band comes out far weaker than the buzz
constexpr double ASPIRATION = 0.08;      // breath that rides on every voiced sound, against a too-clean buzz
constexpr uint32_t BREATH_SEED = 0x50C4;  // fixed seed: the breath is the same on every run

// The key moment in effect at `time`, glided between its neighbours.
VoiceKey key_at(const std::vector<VoiceKey>& keys, double time)
{
    size_t next = 1;
    while (next + 1 < keys.size() && keys[next].time <= time)
        ++next;
    const VoiceKey& a = keys[next - 1];
    const VoiceKey& b = keys[next];
    const double t = b.time > a.time ? std::fmin(std::fmax((time - a.time) / (b.time - a.time), 0.0), 1.0) : 1.0;
    VoiceKey now = a;
    now.pitch = mix(a.pitch, b.pitch, t);
    now.vowel = {mix(a.vowel.f1, b.vowel.f1, t), mix(a.vowel.f2, b.vowel.f2, t), mix(a.vowel.f3, b.vowel.f3, t)};
    now.voicing = mix(a.voicing, b.voicing, t);
    now.hiss = mix(a.hiss, b.hiss, t);
    now.hiss_centre = mix(a.hiss_centre, b.hiss_centre, t);
    now.vibrato = mix(a.vibrato, b.vibrato, t);
    return now;
}

// Air flow through the vocal folds over one cycle (phase 0 to 1): a smooth opening, a
// quicker closing, then shut for the rest of the cycle.
double glottal_flow(double phase, double open_quotient)
{
    const double opening = open_quotient * 0.66;   // the folds part over two thirds of the open time
    if (phase < opening)
        return 0.5 * (1.0 - std::cos(M_PI * phase / opening));
    if (phase < open_quotient)
        return std::cos(0.5 * M_PI * (phase - opening) / (open_quotient - opening));
    return 0.0;
}

}  // namespace

std::vector<double> render_voice(const std::vector<VoiceKey>& keys, const VoiceStyle& style)
{
    const int length = static_cast<int>(keys.back().time * style.sample_rate);
    std::vector<double> out(length);
    Resonator f1, f2, f3, hiss_band;
    NoiseSource breath(BREATH_SEED);
    double phase = 0.0, vibrato_phase = 0.0, last_flow = 0.0;
    for (int i = 0; i < length; ++i) {
        const VoiceKey now = key_at(keys, i / style.sample_rate);
        const double wobble = std::pow(2.0, now.vibrato * std::sin(vibrato_phase) / 12.0);
        phase = std::fmod(phase + now.pitch * wobble / style.sample_rate, 1.0);
        vibrato_phase += TWO_PI * style.vibrato_rate / style.sample_rate;

        // the ear hears the change of flow, so the source is its difference
        const double flow = glottal_flow(phase, style.open_quotient);
        const double noise = breath.next();
        const double buzz = (flow - last_flow) * style.sample_rate / now.pitch * (1.0 + ASPIRATION * noise);
        last_flow = flow;

        f1.tune(now.vowel.f1 * style.mouth_scale, BANDWIDTH_F1, style.sample_rate);
        f2.tune(now.vowel.f2 * style.mouth_scale, BANDWIDTH_F2, style.sample_rate);
        f3.tune(now.vowel.f3 * style.mouth_scale, BANDWIDTH_F3, style.sample_rate);
        hiss_band.tune(now.hiss_centre, HISS_BANDWIDTH, style.sample_rate);
        const double voiced = f3.process(f2.process(f1.process(buzz * now.voicing)));
        out[i] = voiced + hiss_band.process(noise) * now.hiss * HISS_GAIN;
    }
    return out;
}
