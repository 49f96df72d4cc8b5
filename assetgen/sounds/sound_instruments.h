// The song's instruments, synthesised: looped tones for bass, lead, arpeggio and pad,
// one-shot noise drums.
#ifndef SOUND_INSTRUMENTS_H
#define SOUND_INSTRUMENTS_H

#include "xm_module.h"

// Instrument numbers as the patterns name them (1-based, in the order make_instruments returns them).
enum SongInstrument {
    INSTRUMENT_KICK = 1,
    INSTRUMENT_SNARE,
    INSTRUMENT_HAT,
    INSTRUMENT_BASS,
    INSTRUMENT_PLUCK,
    INSTRUMENT_PAD,
    INSTRUMENT_LEAD,
};

// Every instrument of the song, in SongInstrument order.
std::vector<XmInstrument> make_instruments();

#endif
