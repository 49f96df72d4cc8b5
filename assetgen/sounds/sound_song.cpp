#include "sound_song.h"

#include "sound_instruments.h"

#include <array>
#include <sstream>
#include <stdexcept>

namespace {

// Channel layout: drums on the left of the list, melody on the right.
enum Channel { KICK, SNARE, HAT, BASS, ARPEGGIO, PAD, LEAD, ECHO, CHANNEL_COUNT };

constexpr int ROWS_PER_BAR = 16;     // sixteenth notes in a 4/4 bar
constexpr int BARS_PER_PATTERN = 4;  // one chord a bar, four-chord phrases
constexpr int SPEED = 6;             // ticks per row: enough ticks for a three-note arpeggio to cycle twice
constexpr int BPM = 145;             // with speed 6, 145 beats a minute: brisk and bouncy
constexpr int ECHO_DELAY = 3;        // rows the echo trails the lead by: a dotted-eighth bounce
constexpr int ECHO_VOLUME = 16;      // the echo is a faint shadow of the lead, a third of its loudness
constexpr int ECHO_PANNING = 0xC0;   // the echo sits to the right, the lead in the middle
constexpr int SOFT_HIT = 60;         // percent of an accented hit's loudness for an "o" hit
constexpr int EFFECT_ARPEGGIO = 0x0;     // XM effect 0xy: cycle the note, +x and +y semitones
constexpr int EFFECT_PANNING = 0x8;      // XM effect 8xx: set the channel's panning
constexpr int VOLUME_COLUMN_SET = 0x10;  // volume column 0x10 + v sets volume v
constexpr int FULL_VOLUME = 64;
constexpr int BASS_OCTAVE = 2, PAD_OCTAVE = 3, ARPEGGIO_OCTAVE = 4;   // where each part plays a chord's root

// A chord: its root as a pitch class (C = 0) and its quality.
struct Chord {
    int root;
    bool minor;
};

// One bar of drums, one character a row: 'x' a hit, 'o' a softer one, '.' nothing.
struct Groove {
    const char* kick;
    const char* snare;
    const char* hat;
};

// How a bar of bass walks over its chord, one token a row: '1' the root, '5' the fifth,
// '8' the octave, '.' hold, '=' release.
using BassLine = const char*;

// One pattern's worth of music: four chords, a lead line, and how the band plays it.
struct Section {
    std::array<const char*, BARS_PER_PATTERN> chords;   // "Am", "F", "G#" ...
    std::array<const char*, BARS_PER_PATTERN> lead;     // tokens a row: "A4", "." hold, "=" release; null: rest
    BassLine bass;
    Groove groove;
    Groove last_bar;   // the fourth bar's drums: usually a fill into the next section
    bool pad;
};

// -- the band's vocabulary --------------------------------------------------------------------

constexpr BassLine BASS_BOUNCE = "1 . 8 . 1 . 8 . 1 . 8 . 5 . 8 .";   // octave jumps: the verse's drive
constexpr BassLine BASS_PUSH = "1 . . 1 . . 8 . 1 . . 1 . . 5 .";     // 3-3-2 syncopation for the chorus
constexpr BassLine BASS_LONG = "1 . . . . . . = 5 . . . 8 . . =";     // long notes for the break

constexpr Groove GROOVE_INTRO{"x . . . . . . . x . . . . . . .", ". . . . . . . . . . . . . . . .",
                              "x . o . x . o . x . o . x . o ."};
constexpr Groove GROOVE_INTRO_FILL{"x . . . . . . . x . . . x . x .", ". . . . . . . . x . . o x . x x",
                                   "x . o . x . o . x . o . x . o ."};
constexpr Groove GROOVE_VERSE{"x . . . . . x . x . . . . . . .", ". . . . x . . . . . . . x . . .",
                              "x . o . x . o . x . o . x . o ."};
constexpr Groove GROOVE_VERSE_FILL{"x . . . . . x . x . . . x . . .", ". . . . x . . . . . x . x o x x",
                                   "x . o . x . o . x . o . x . o ."};
constexpr Groove GROOVE_CHORUS{"x . . . x . . . x . . . x . . .", ". . . . x . . . . . . . x . . o",
                               "x o x o x o x o x o x o x o x o"};
constexpr Groove GROOVE_CHORUS_FILL{"x . . . x . . . x . . . x . x .", ". . . . x . . . . . x . x x x x",
                                    "x o x o x o x o x o x o x o x o"};
constexpr Groove GROOVE_BREAK{". . . . . . . . . . . . . . . .", ". . . . . . . . . . . . . . . .",
                              "o . . . o . . . o . . . o . . ."};
constexpr Groove GROOVE_BREAK_TURN{". . . . . . . . . . . . x . . .", ". . . . . . . . . . . . . . . .",
                                   "o . . . o . . . o . o . o o o o"};
constexpr Groove GROOVE_BUILD{"x . . . x . . . x . . . x . . .", ". . . . x . . . . . . . x . . .",
                              "x . o . x . o . x . o . x . o ."};
constexpr Groove GROOVE_ROLL{"x . . . x . . . x . . . x . . .", "x . o . x . o . x o x o x x x x",
                             "x . o . x . o . x . o . x . o ."};

// -- the sections ----------------------------------------------------------------------------

const Section INTRO{
    {"Am", "F", "C", "G"},
    {nullptr, nullptr, nullptr, nullptr},
    BASS_BOUNCE, GROOVE_INTRO, GROOVE_INTRO_FILL, true};

const Section VERSE_A{
    {"Am", "F", "C", "G"},
    {"A4 . . C5 . . E5 . D5 . C5 . B4 . A4 .",
     "A4 . . . C5 . . F5 . . E5 . C5 . . .",
     "G4 . . C5 . . E5 . G5 . . . E5 . D5 .",
     "D5 . . . B4 . . . G4 . . . = . . ."},
    BASS_BOUNCE, GROOVE_VERSE, GROOVE_VERSE, false};

const Section VERSE_B{
    {"Am", "F", "G", "E"},
    {"E5 . . E5 . . D5 . C5 . . . A4 . C5 .",
     "F5 . . F5 . . E5 . C5 . . . A4 . . .",
     "D5 . . D5 . . C5 . B4 . . . G4 . B4 .",
     "G#4 . . . . . B4 . . . E5 . . . = ."},
    BASS_BOUNCE, GROOVE_VERSE, GROOVE_VERSE_FILL, false};

const Section CHORUS_A{
    {"F", "G", "C", "Am"},
    {"A5 . . G5 . . F5 . . . C5 . F5 . G5 .",
     "G5 . . F5 . . D5 . . . B4 . D5 . F5 .",
     "E5 . . D5 . . C5 . . . G4 . C5 . E5 .",
     "E5 . . . . . D5 . C5 . . . A4 . . ."},
    BASS_PUSH, GROOVE_CHORUS, GROOVE_CHORUS, true};

const Section CHORUS_B{
    {"F", "G", "E", "Am"},
    {"A5 . . G5 . . F5 . . . C5 . F5 . G5 .",
     "B5 . . A5 . . G5 . . . D5 . G5 . A5 .",
     "G#5 . . . B5 . . . G#5 . E5 . . . D5 .",
     "C5 . . . B4 . . . A4 . . . . . = ."},
    BASS_PUSH, GROOVE_CHORUS, GROOVE_CHORUS_FILL, true};

const Section BREAK{
    {"Dm", "Am", "Dm", "E"},
    {nullptr, nullptr, nullptr, nullptr},
    BASS_LONG, GROOVE_BREAK, GROOVE_BREAK_TURN, true};

const Section BUILD{
    {"F", "G", "E", "E"},
    {"C5 . . . . . . . A4 . . . C5 . . .",
     "D5 . . . . . . . B4 . . . D5 . . .",
     "E5 . . . . . . . G#4 . . . B4 . . .",
     "E5 . . . . . . . . . . . = . . ."},
    BASS_BOUNCE, GROOVE_BUILD, GROOVE_ROLL, true};

const Section SOLO{
    {"F", "G", "C", "Am"},
    {"C6 . A5 . F5 . A5 . C6 . A5 . G5 . A5 .",
     "B5 . G5 . D5 . G5 . B5 . G5 . F5 . G5 .",
     "C6 . G5 . E5 . G5 . C6 . D6 . E6 . C6 .",
     "A5 . E5 . C5 . E5 . A5 . . . = . . ."},
    BASS_PUSH, GROOVE_CHORUS, GROOVE_CHORUS_FILL, true};

// The patterns, numbered by their place here, and the order they play in.
const std::array<const Section*, 8> SECTIONS = {&INTRO, &VERSE_A, &VERSE_B, &CHORUS_A,
                                                &CHORUS_B, &BREAK, &BUILD, &SOLO};
enum { P_INTRO, P_VERSE_A, P_VERSE_B, P_CHORUS_A, P_CHORUS_B, P_BREAK, P_BUILD, P_SOLO };
const std::vector<uint8_t> ORDER = {P_INTRO,   P_VERSE_A, P_VERSE_B,  P_CHORUS_A, P_CHORUS_B,
                                    P_BREAK,   P_BUILD,   P_VERSE_A,  P_VERSE_B,  P_CHORUS_A,
                                    P_CHORUS_B, P_SOLO,   P_CHORUS_B};
constexpr int RESTART_POSITION = 1;   // the loop skips the intro and comes back in at the verse

// -- turning the score into cells ------------------------------------------------------------

// The whitespace-separated tokens of `line`, which must number one bar's rows.
std::vector<std::string> bar_tokens(const char* line)
{
    std::istringstream in(line);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;)
        tokens.push_back(token);
    if (tokens.size() != ROWS_PER_BAR)
        throw std::logic_error(std::string("a bar needs 16 rows: ") + line);
    return tokens;
}

// The pitch class (C = 0) of a note name's letter and sharp, such as "G#" in "G#4" or "G#m".
int pitch_class(const std::string& name)
{
    constexpr int LETTER_SEMITONES[] = {9, 11, 0, 2, 4, 5, 7};   // A B C D E F G
    const int semitone = LETTER_SEMITONES[name.at(0) - 'A'];
    return (semitone + (name.size() > 1 && name[1] == '#' ? 1 : 0)) % 12;
}

// The XM note number of a written note such as "C5" or "G#4".
uint8_t xm_note(const std::string& name)
{
    const int octave = name.back() - '0';
    return static_cast<uint8_t>(octave * 12 + pitch_class(name) + 1);   // XM counts C-0 as 1
}

// The chord a name such as "Am" or "E" stands for.
Chord parse_chord(const std::string& name)
{
    return {pitch_class(name), name.back() == 'm'};
}

// The XM note of `chord`'s root, raised by `semitones`, in `octave`.
uint8_t chord_note(const Chord& chord, int octave, int semitones)
{
    return static_cast<uint8_t>(octave * 12 + chord.root + semitones + 1);
}

// Volume-column byte for `level` out of 64.
uint8_t volume_column(int level)
{
    return static_cast<uint8_t>(VOLUME_COLUMN_SET + level);
}

// Writes one bar of one drum into `channel`, starting at `first_row`.
void place_drum(XmPattern& pattern, int channel, int first_row, const char* line, int instrument)
{
    const std::vector<std::string> tokens = bar_tokens(line);
    for (int row = 0; row < ROWS_PER_BAR; ++row) {
        if (tokens[row] == ".")
            continue;
        XmCell& cell = pattern.at(first_row + row, channel);
        cell.note = xm_note("C4");   // drums play at their own pitch
        cell.instrument = static_cast<uint8_t>(instrument);
        if (tokens[row] == "o")
            cell.volume = volume_column(FULL_VOLUME * SOFT_HIT / 100);
    }
}

// Writes one bar of bass over `chord`.
void place_bass(XmPattern& pattern, int first_row, BassLine line, const Chord& chord)
{
    const std::vector<std::string> tokens = bar_tokens(line);
    for (int row = 0; row < ROWS_PER_BAR; ++row) {
        XmCell& cell = pattern.at(first_row + row, BASS);
        const char step = tokens[row][0];
        if (step == '=')
            cell.note = XM_NOTE_OFF;
        if (step == '1' || step == '5' || step == '8') {
            cell.note = chord_note(chord, BASS_OCTAVE, step == '1' ? 0 : step == '5' ? 7 : 12);
            cell.instrument = INSTRUMENT_BASS;
        }
    }
}

// Writes one bar of arpeggio: the root struck every eighth note and cycled through its chord every row.
void place_arpeggio(XmPattern& pattern, int first_row, const Chord& chord)
{
    constexpr uint8_t MINOR_TRIAD = 0x37, MAJOR_TRIAD = 0x47;   // 0xy: third and fifth above the root
    for (int row = 0; row < ROWS_PER_BAR; ++row) {
        XmCell& cell = pattern.at(first_row + row, ARPEGGIO);
        if (row % 2 == 0) {
            cell.note = chord_note(chord, ARPEGGIO_OCTAVE, 0);
            cell.instrument = INSTRUMENT_PLUCK;
        }
        cell.effect = EFFECT_ARPEGGIO;
        cell.param = chord.minor ? MINOR_TRIAD : MAJOR_TRIAD;
    }
}

// Writes one bar of pad: the chord's open fifth held for the bar.
void place_pad(XmPattern& pattern, int first_row, const Chord& chord)
{
    XmCell& cell = pattern.at(first_row, PAD);
    cell.note = chord_note(chord, PAD_OCTAVE, 0);
    cell.instrument = INSTRUMENT_PAD;
    pattern.at(first_row + ROWS_PER_BAR - 1, PAD).note = XM_NOTE_OFF;
}

// Writes one bar of the lead line.
void place_lead(XmPattern& pattern, int first_row, const char* line)
{
    const std::vector<std::string> tokens = bar_tokens(line);
    for (int row = 0; row < ROWS_PER_BAR; ++row) {
        XmCell& cell = pattern.at(first_row + row, LEAD);
        if (tokens[row] == "=") {
            cell.note = XM_NOTE_OFF;
        } else if (tokens[row] != ".") {
            cell.note = xm_note(tokens[row]);
            cell.instrument = INSTRUMENT_LEAD;
        }
    }
}

// Copies the lead's notes into the echo channel ECHO_DELAY rows later, quieter and panned aside.
void place_echo(XmPattern& pattern)
{
    for (int row = 0; row + ECHO_DELAY < pattern.rows; ++row) {
        const XmCell& lead = pattern.at(row, LEAD);
        XmCell& echo = pattern.at(row + ECHO_DELAY, ECHO);
        echo.note = lead.note;
        if (lead.instrument != 0) {
            echo.instrument = lead.instrument;
            echo.volume = volume_column(ECHO_VOLUME);
            echo.effect = EFFECT_PANNING;
            echo.param = ECHO_PANNING;
        }
    }
}

// One section as a pattern.
XmPattern make_pattern(const Section& section)
{
    XmPattern pattern(ROWS_PER_BAR * BARS_PER_PATTERN, CHANNEL_COUNT);
    for (int bar = 0; bar < BARS_PER_PATTERN; ++bar) {
        const int first_row = bar * ROWS_PER_BAR;
        const Chord chord = parse_chord(section.chords[bar]);
        const Groove& groove = bar + 1 == BARS_PER_PATTERN ? section.last_bar : section.groove;
        place_drum(pattern, KICK, first_row, groove.kick, INSTRUMENT_KICK);
        place_drum(pattern, SNARE, first_row, groove.snare, INSTRUMENT_SNARE);
        place_drum(pattern, HAT, first_row, groove.hat, INSTRUMENT_HAT);
        place_bass(pattern, first_row, section.bass, chord);
        place_arpeggio(pattern, first_row, chord);
        if (section.pad)
            place_pad(pattern, first_row, chord);
        if (section.lead[bar])
            place_lead(pattern, first_row, section.lead[bar]);
    }
    place_echo(pattern);
    return pattern;
}

}  // namespace

XmModule make_towers_song()
{
    XmModule song;
    song.name = "towers";
    song.channels = CHANNEL_COUNT;
    song.speed = SPEED;
    song.bpm = BPM;
    song.order = ORDER;
    song.restart_position = RESTART_POSITION;
    for (const Section* section : SECTIONS)
        song.patterns.push_back(make_pattern(*section));
    song.instruments = make_instruments();
    return song;
}
