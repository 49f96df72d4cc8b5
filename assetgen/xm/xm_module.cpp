#include "xm_module.h"

#include <cmath>

namespace {

constexpr double XM_C4_RATE = 8363.0;     // Hz at which an untuned sample plays note C-4
constexpr int XM_VERSION = 0x0104;        // the format revision every XM player reads
constexpr int SONG_HEADER_SIZE = 276;     // bytes from the size field to the end of the order table
constexpr int ORDER_TABLE_SIZE = 256;     // the order table has fixed room for 256 entries
constexpr int PATTERN_HEADER_SIZE = 9;    // size field, packing type, row count, packed size
constexpr int INSTRUMENT_HEADER_SIZE = 263;   // an instrument header with samples, padding included
constexpr int SAMPLE_HEADER_SIZE = 40;
constexpr int NAME_SIZE = 22;             // instrument and sample names
constexpr int TITLE_SIZE = 20;            // module and tracker names
constexpr int KEYMAP_SIZE = 96;           // one sample number per note
constexpr int LINEAR_FREQUENCIES = 1;     // song flag: pitch slides in even steps
constexpr int ENVELOPE_ON = 1, ENVELOPE_SUSTAIN = 2;   // envelope type bits
constexpr int SAMPLE_FORWARD_LOOP = 1, SAMPLE_16BIT = 0x10;   // sample type bits
constexpr int PACKED_CELL = 0x80;         // a cell byte with this bit lists which fields follow
constexpr int SEMITONE_STEPS = 128;       // finetune steps per semitone

// Bytes appended in the little-endian order the format uses.
class ByteWriter {
public:
    // Appends one byte.
    void u8(int value) { bytes.push_back(static_cast<uint8_t>(value)); }
    // Appends a 16-bit word.
    void u16(int value) { u8(value & 0xFF); u8((value >> 8) & 0xFF); }
    // Appends a 32-bit word.
    void u32(uint32_t value) { u16(value & 0xFFFF); u16(value >> 16); }
    // Appends `text` cut or zero-padded to `size` bytes.
    void text(const std::string& text, size_t size)
    {
        for (size_t i = 0; i < size; ++i)
            u8(i < text.size() ? text[i] : 0);
    }
    // Appends zeros until the output is `size` bytes long.
    void pad_to(size_t size) { bytes.resize(size > bytes.size() ? size : bytes.size(), 0); }

    std::vector<uint8_t> bytes;
};

// The fixed file header, song header and order table.
void write_song_header(const XmModule& module, ByteWriter& out)
{
    out.text("Extended Module: ", 17);
    out.text(module.name, TITLE_SIZE);
    out.u8(0x1A);
    out.text("quoravint assetgen", TITLE_SIZE);
    out.u16(XM_VERSION);
    out.u32(SONG_HEADER_SIZE);
    out.u16(static_cast<int>(module.order.size()));
    out.u16(module.restart_position);
    out.u16(module.channels);
    out.u16(static_cast<int>(module.patterns.size()));
    out.u16(static_cast<int>(module.instruments.size()));
    out.u16(LINEAR_FREQUENCIES);
    out.u16(module.speed);
    out.u16(module.bpm);
    for (int i = 0; i < ORDER_TABLE_SIZE; ++i)
        out.u8(i < static_cast<int>(module.order.size()) ? module.order[i] : 0);
}

// One cell in the packed form: a byte of flags naming the fields that follow, or all five fields plain.
void pack_cell(const XmCell& cell, ByteWriter& out)
{
    const uint8_t fields[] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.param};
    int present = 0;
    for (int i = 0; i < 5; ++i)
        if (fields[i] != 0)
            present |= 1 << i;
    if (present != 0x1F)
        out.u8(PACKED_CELL | present);
    for (int i = 0; i < 5; ++i)
        if (present == 0x1F || (present & (1 << i)))
            out.u8(fields[i]);
}

// A pattern header followed by its packed cells.
void write_pattern(const XmPattern& pattern, ByteWriter& out)
{
    ByteWriter packed;
    for (int row = 0; row < pattern.rows; ++row)
        for (int channel = 0; channel < pattern.channels; ++channel)
            pack_cell(pattern.at(row, channel), packed);
    out.u32(PATTERN_HEADER_SIZE);
    out.u8(0);   // packing type: the format knows only one
    out.u16(pattern.rows);
    out.u16(static_cast<int>(packed.bytes.size()));
    out.bytes.insert(out.bytes.end(), packed.bytes.begin(), packed.bytes.end());
}

// The envelope's twelve point slots (unused ones zero).
void write_envelope_points(const XmEnvelope& envelope, ByteWriter& out)
{
    for (int i = 0; i < XM_MAX_ENVELOPE_POINTS; ++i) {
        const bool used = i < static_cast<int>(envelope.points.size());
        out.u16(used ? envelope.points[i].first : 0);
        out.u16(used ? envelope.points[i].second : 0);
    }
}

// The envelope's type bits: on when it has points, held when it has a sustain point.
int envelope_type(const XmEnvelope& envelope)
{
    if (envelope.points.empty())
        return 0;
    return ENVELOPE_ON | (envelope.sustain_point >= 0 ? ENVELOPE_SUSTAIN : 0);
}

// The instrument header: name, keymap (every note plays the one sample), envelopes, vibrato, fadeout.
void write_instrument_header(const XmInstrument& instrument, ByteWriter& out)
{
    const size_t start = out.bytes.size();
    const XmEnvelope& volume = instrument.volume_envelope;
    out.u32(INSTRUMENT_HEADER_SIZE);
    out.text(instrument.name, NAME_SIZE);
    out.u8(0);    // instrument type: always 0
    out.u16(1);   // one sample
    out.u32(SAMPLE_HEADER_SIZE);
    out.pad_to(out.bytes.size() + KEYMAP_SIZE);
    write_envelope_points(volume, out);
    write_envelope_points(XmEnvelope{}, out);   // no panning envelope
    out.u8(static_cast<int>(volume.points.size()));
    out.u8(0);
    out.u8(volume.sustain_point >= 0 ? volume.sustain_point : 0);
    out.u8(0);    // volume loop start and end: no envelope loops
    out.u8(0);
    out.pad_to(out.bytes.size() + 3);   // panning sustain and loop points
    out.u8(envelope_type(volume));
    out.u8(0);    // panning envelope type: off
    out.u8(0);    // vibrato waveform: sine
    out.u8(instrument.vibrato.sweep);
    out.u8(instrument.vibrato.depth);
    out.u8(instrument.vibrato.rate);
    out.u16(instrument.fadeout);
    out.pad_to(start + INSTRUMENT_HEADER_SIZE);
}

// The sample header; lengths and loop points are in bytes, two per 16-bit frame.
void write_sample_header(const XmInstrument& instrument, ByteWriter& out)
{
    const XmSample& sample = instrument.sample;
    out.u32(static_cast<uint32_t>(sample.frames.size() * 2));
    out.u32(sample.loop_start * 2);
    out.u32(sample.loop_length * 2);
    out.u8(sample.volume);
    out.u8(sample.tuning.finetune & 0xFF);
    out.u8(SAMPLE_16BIT | (sample.loop_length > 0 ? SAMPLE_FORWARD_LOOP : 0));
    out.u8(sample.panning);
    out.u8(sample.tuning.relative_note & 0xFF);
    out.u8(0);    // reserved
    out.text(instrument.name, NAME_SIZE);
}

// The frames as differences from their predecessors, the format's way of storing samples.
void write_sample_deltas(const XmSample& sample, ByteWriter& out)
{
    int16_t previous = 0;
    for (int16_t frame : sample.frames) {
        out.u16(static_cast<uint16_t>(frame - previous));
        previous = frame;
    }
}

}  // namespace

XmTuning tuning_for_rate(double sample_rate)
{
    const double semitones = 12.0 * std::log2(sample_rate / XM_C4_RATE);
    int relative_note = static_cast<int>(std::floor(semitones));
    int finetune = static_cast<int>(std::lround((semitones - relative_note) * SEMITONE_STEPS));
    if (finetune >= SEMITONE_STEPS) {
        finetune -= SEMITONE_STEPS;
        ++relative_note;
    }
    return {relative_note, finetune};
}

XmPattern::XmPattern(int rows, int channels) : rows(rows), channels(channels), cells(rows * channels) {}

XmCell& XmPattern::at(int row, int channel)
{
    return cells[row * channels + channel];
}

const XmCell& XmPattern::at(int row, int channel) const
{
    return cells[row * channels + channel];
}

std::vector<uint8_t> encode_xm(const XmModule& module)
{
    ByteWriter out;
    write_song_header(module, out);
    for (const XmPattern& pattern : module.patterns)
        write_pattern(pattern, out);
    for (const XmInstrument& instrument : module.instruments) {
        write_instrument_header(instrument, out);
        write_sample_header(instrument, out);
        write_sample_deltas(instrument.sample, out);
    }
    return out.bytes;
}
