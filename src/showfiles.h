// The files the show reads at start-up, relative to its working directory. The show, the asset
// generator (which writes them) and the tests all read this one list.
#ifndef SHOWFILES_H
#define SHOWFILES_H

#include "sprites.h"

#include <array>

// The sprite images; the position of a path is its sprite index (SPOON and SPOON_SPARE share one).
constexpr std::array<const char*, SPRITE_COUNT> SPRITE_FILES = {
#define SPRITE_FILE(name, file) file,
    SHOW_SPRITES(SPRITE_FILE)
#undef SPRITE_FILE
};

constexpr const char* FONT_FILE = "gfx/font5.png";   // the dot font: one row of 5 x 5 glyphs

// The sound effects; the position of a path is its sound index while all three load.
constexpr std::array<const char*, 3> EFFECT_FILES = {"sfx/future.ogg", "sfx/AUAUAUAHAHAH.ogg", "sfx/VLERVELER.ogg"};

constexpr const char* SONG_FILE = "sfx/towers.xm";   // the tracker song, played in a loop
constexpr const char* NAMES_FILE = "names.txt";      // the names the sky boats carry

#endif
