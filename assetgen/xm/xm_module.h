// A FastTracker 2 extended module (XM, version 1.04) held in memory, and its writer.
// Each instrument carries exactly one 16-bit sample, which is all the song needs.
#ifndef XM_MODULE_H
#define XM_MODULE_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

constexpr int XM_NOTE_OFF = 97;        // the note value that releases a held note
constexpr int XM_MAX_ENVELOPE_POINTS = 12;   // the format's fixed room for envelope points

// Where a sample's own pitch lands: it sounds at that pitch when played as C-4.
struct XmTuning {
    int relative_note;   // whole semitones
    int finetune;        // 1/128 semitones, -128 to 127
};

// The tuning for a sample whose content was made at `sample_rate` Hz.
XmTuning tuning_for_rate(double sample_rate);

// One sample: mono 16-bit frames, looped forwards from `loop_start` when `loop_length` > 0.
struct XmSample {
    std::vector<int16_t> frames;
    int loop_start = 0;
    int loop_length = 0;     // 0: a one-shot that plays through once
    int volume = 64;         // default volume, 0 to 64
    int panning = 128;       // 0 left to 255 right
    XmTuning tuning{0, 0};
};

// A volume envelope of (tick, level 0-64) points, held at `sustain_point` until the note is released.
struct XmEnvelope {
    std::vector<std::pair<int, int>> points;   // empty: no envelope, the sample plays as it is
    int sustain_point = -1;                    // -1: no hold
};

// The instrument's own pitch wobble, applied to every note it plays.
struct XmAutoVibrato {
    int sweep = 0;   // ticks to reach full depth
    int depth = 0;   // 0 to 15
    int rate = 0;    // 0 to 63
};

// An instrument and its one sample.
struct XmInstrument {
    std::string name;
    XmSample sample;
    XmEnvelope volume_envelope;
    int fadeout = 0;               // volume lost per tick after release, 0 to 4095
    XmAutoVibrato vibrato;
};

// One channel of one row; zero everywhere means "nothing happens".
struct XmCell {
    uint8_t note = 0;          // 1 (C-0) to 96 (B-7), or XM_NOTE_OFF
    uint8_t instrument = 0;    // 1-based; 0 keeps the channel's instrument
    uint8_t volume = 0;        // volume column: 0x10 + level 0-64 sets the volume
    uint8_t effect = 0;
    uint8_t param = 0;
};

// A grid of rows by channels.
struct XmPattern {
    // An empty grid of `rows` by `channels`.
    XmPattern(int rows, int channels);
    // The cell at `row` of `channel`.
    XmCell& at(int row, int channel);
    const XmCell& at(int row, int channel) const;

    int rows;
    int channels;
    std::vector<XmCell> cells;
};

// A whole module.
struct XmModule {
    std::string name;
    int channels = 0;
    int speed = 6;                    // ticks per row
    int bpm = 125;                    // tick rate: bpm * 2 / 5 ticks a second
    std::vector<uint8_t> order;       // pattern numbers in playing order
    int restart_position = 0;         // where the order list starts again after its end
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

// The module as the bytes of an .xm file (linear frequency table, samples delta-encoded).
std::vector<uint8_t> encode_xm(const XmModule& module);

#endif
