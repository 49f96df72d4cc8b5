#include "sound_instruments.h"

#include "sound_dsp.h"

#include <cmath>

namespace {

constexpr double C4_HZ = 261.6256;   // the pitch every tone sample sounds at when played as C-4
constexpr int CYCLE = 64;            // frames per waveform cycle: room for 32 harmonics in a tiny loop
constexpr double TONE_PEAK = 0.9;    // tone samples use most of 16 bits; the instrument volumes do the mixing
constexpr double DRUM_RATE = 16726.0;   // Hz: twice the XM base rate, so C-4 plays drums an octave up, exactly
constexpr double DRUM_PEAK = 0.95;   // drums are the loudest hits; a hair of headroom
constexpr int DRUM_RAMP = 32;        // frames (2 ms) of fade at the ends of a drum, against clicks
// The mix, as each instrument's default volume (0-64): the kick and the lead on top, the bass
// a step back because it never stops, the arpeggio, pad and hat as a bed underneath.
constexpr int KICK_VOLUME = 56, SNARE_VOLUME = 60, HAT_VOLUME = 30;
constexpr int BASS_VOLUME = 40, PLUCK_VOLUME = 24, PAD_VOLUME = 30, LEAD_VOLUME = 48;
// Panning (0 left, 128 centre, 255 right): the hat and the arpeggio lean apart to widen the picture.
constexpr int CENTRE = 128, HAT_PANNING = 168, PLUCK_PANNING = 88;
constexpr uint32_t SNARE_SEED = 0x5A4E, HAT_SEED = 0x4A77;   // fixed noise: the same drums every run

// A sine partial of a looped tone: `cycles` whole periods per loop, so the loop joins seamlessly.
struct Partial {
    double cycles;
    double amplitude;
};

// Sums `partials` over one loop of `length` frames.
std::vector<double> additive_loop(int length, const std::vector<Partial>& partials)
{
    std::vector<double> loop(length, 0.0);
    for (const Partial& partial : partials)
        for (int i = 0; i < length; ++i)
            loop[i] += partial.amplitude * std::sin(TWO_PI * partial.cycles * i / length);
    normalise(loop, TONE_PEAK);
    return loop;
}

// The first `count` harmonics of a sawtooth with `cycles` periods per loop, softened by `rolloff` (1 is a true saw).
std::vector<Partial> saw_partials(double cycles, int count, double rolloff, double level)
{
    std::vector<Partial> partials;
    for (int n = 1; n <= count; ++n)
        partials.push_back({cycles * n, level / std::pow(n, rolloff)});
    return partials;
}

// The first `count` harmonics of a pulse wave whose high part lasts `duty` of a cycle.
std::vector<Partial> pulse_partials(int count, double duty)
{
    std::vector<Partial> partials;
    for (int n = 1; n <= count; ++n)
        partials.push_back({static_cast<double>(n), std::sin(M_PI * n * duty) / n});
    return partials;
}

// A tone instrument that loops its whole sample, tuned so C-4 sounds as middle C.
XmInstrument looped_tone(const char* name, const std::vector<double>& loop, int cycles_per_loop, int volume)
{
    XmInstrument instrument;
    instrument.name = name;
    instrument.sample.frames = to_pcm16(loop);
    instrument.sample.loop_length = static_cast<int>(loop.size());
    instrument.sample.volume = volume;
    instrument.sample.tuning = tuning_for_rate(C4_HZ * loop.size() / cycles_per_loop);
    return instrument;
}

// A one-shot drum instrument made at DRUM_RATE; it plays its own pitch on C-4.
XmInstrument drum(const char* name, std::vector<double> hit, int volume, int panning)
{
    normalise(hit, DRUM_PEAK);
    fade_edges(hit, DRUM_RAMP);
    XmInstrument instrument;
    instrument.name = name;
    instrument.sample.frames = to_pcm16(hit);
    instrument.sample.volume = volume;
    instrument.sample.panning = panning;
    instrument.sample.tuning = tuning_for_rate(DRUM_RATE);
    return instrument;
}

// Kick: a sine whose pitch drops fast from a knock to a low thump.
XmInstrument make_kick()
{
    // seconds and Hz: a 165 Hz knock that falls within 30 ms to a 45 Hz thump, gone in a third of a second
    constexpr double LENGTH = 0.3, LOW_HZ = 45.0, DROP_HZ = 120.0, DROP_TIME = 0.03, DECAY = 0.12;
    std::vector<double> hit(static_cast<int>(LENGTH * DRUM_RATE));
    double phase = 0.0;
    for (size_t i = 0; i < hit.size(); ++i) {
        const double t = i / DRUM_RATE;
        phase += TWO_PI * (LOW_HZ + DROP_HZ * std::exp(-t / DROP_TIME)) / DRUM_RATE;
        hit[i] = std::sin(phase) * std::exp(-t / DECAY);
    }
    return drum("kick", hit, KICK_VOLUME, CENTRE);
}

// Snare: a short drum-skin tone under a longer rattle of band-passed noise.
XmInstrument make_snare()
{
    // seconds and Hz: the skin rings for a moment, the wires rattle a little longer in a broad upper band
    constexpr double LENGTH = 0.22, SKIN_HZ = 190.0, SKIN_DECAY = 0.04, RATTLE_DECAY = 0.07;
    constexpr double RATTLE_HZ = 3200.0, RATTLE_WIDTH = 4000.0;
    constexpr double SKIN_LEVEL = 0.6;   // the rattle carries the snare; the skin only gives it body
    std::vector<double> hit(static_cast<int>(LENGTH * DRUM_RATE));
    NoiseSource noise(SNARE_SEED);
    Resonator rattle;
    rattle.tune(RATTLE_HZ, RATTLE_WIDTH, DRUM_RATE);
    for (size_t i = 0; i < hit.size(); ++i) {
        const double t = i / DRUM_RATE;
        const double skin = std::sin(TWO_PI * SKIN_HZ * t) * std::exp(-t / SKIN_DECAY);
        hit[i] = SKIN_LEVEL * skin + rattle.process(noise.next()) * std::exp(-t / RATTLE_DECAY);
    }
    return drum("snare", hit, SNARE_VOLUME, CENTRE);
}

// Closed hi-hat: a short tick of noise with its lows taken away.
XmInstrument make_hat()
{
    // seconds and Hz: only the hiss above 5 kHz, closed within a few tens of milliseconds
    constexpr double LENGTH = 0.07, CORNER_HZ = 5000.0, DECAY = 0.018;
    std::vector<double> hit(static_cast<int>(LENGTH * DRUM_RATE));
    NoiseSource noise(HAT_SEED);
    OnePole lows(CORNER_HZ, DRUM_RATE);
    for (size_t i = 0; i < hit.size(); ++i) {
        const double t = i / DRUM_RATE;
        const double sample = noise.next();
        hit[i] = (sample - lows.process(sample)) * std::exp(-t / DECAY);
    }
    return drum("hat", hit, HAT_VOLUME, HAT_PANNING);
}

// Bass: a round sawtooth with a quick pluck that settles to a steady hum.
XmInstrument make_bass()
{
    // twelve harmonics falling a little faster than a true saw's: full but not fizzy
    XmInstrument bass = looped_tone("bass", additive_loop(CYCLE, saw_partials(1, 12, 1.2, 1.0)), 1, BASS_VOLUME);
    // (tick, level): a hard hit, held at 44 while the note lasts, gone 4 ticks after release
    bass.volume_envelope = {{{0, 64}, {3, 52}, {12, 44}, {16, 0}}, 2};
    return bass;
}

// Pluck: a square wave that rings down by itself, for the fast chord arpeggios.
XmInstrument make_pluck()
{
    XmInstrument pluck = looped_tone("pluck", additive_loop(CYCLE, pulse_partials(15, 0.5)), 1, PLUCK_VOLUME);
    // (tick, level): no hold, so each strike fades out on its own within 40 ticks
    pluck.volume_envelope = {{{0, 64}, {4, 40}, {16, 20}, {40, 0}}, -1};
    pluck.sample.panning = PLUCK_PANNING;
    return pluck;
}

// Pad: root, fifth and octave of soft sawtooths, the root doubled slightly sharp for a slow shimmer.
XmInstrument make_pad()
{
    constexpr int ROOT_CYCLES = 128;   // periods of the root per loop: the shimmer beats once per loop
    constexpr double SOFT_ROLLOFF = 1.5;   // harmonics fade faster than a saw's: a mellow bed
    struct Layer {
        int cycles, harmonics;
        double level;
    };
    const Layer layers[] = {{ROOT_CYCLES, 6, 1.0},            // root
                            {ROOT_CYCLES + 1, 6, 0.8},        // root, a seventh of a semitone sharp
                            {ROOT_CYCLES * 3 / 2, 4, 0.6},    // fifth
                            {ROOT_CYCLES * 2, 3, 0.4}};       // octave
    std::vector<Partial> partials;
    for (const Layer& layer : layers)
        for (const Partial& p : saw_partials(layer.cycles, layer.harmonics, SOFT_ROLLOFF, layer.level))
            partials.push_back(p);
    XmInstrument pad = looped_tone("pad", additive_loop(CYCLE * ROOT_CYCLES, partials), ROOT_CYCLES, PAD_VOLUME);
    // (tick, level): swells in over 20 ticks, held at 48, dies away over 40 ticks after release
    pad.volume_envelope = {{{0, 0}, {20, 56}, {40, 48}, {80, 0}}, 2};
    return pad;
}

// Lead: a narrow pulse that sings, with a vibrato that creeps in on long notes.
XmInstrument make_lead()
{
    XmInstrument lead = looped_tone("lead", additive_loop(CYCLE, pulse_partials(12, 0.25)), 1, LEAD_VOLUME);
    // (tick, level): a bright start, held at 52, a short 6-tick release between phrases
    lead.volume_envelope = {{{0, 64}, {2, 58}, {8, 52}, {14, 0}}, 2};
    lead.vibrato = {30, 8, 24};   // full depth after half a second, about an eighth of a semitone, 5.5 Hz
    return lead;
}

}  // namespace

std::vector<XmInstrument> make_instruments()
{
    return {make_kick(), make_snare(), make_hat(), make_bass(), make_pluck(), make_pad(), make_lead()};
}
