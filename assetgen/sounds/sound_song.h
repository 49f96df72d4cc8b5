// "Towers", the show's looping song: an upbeat A-minor chiptune in eight channels.
#ifndef SOUND_SONG_H
#define SOUND_SONG_H

#include "xm_module.h"

// The whole song as a module, instruments included.
XmModule make_towers_song();

#endif
