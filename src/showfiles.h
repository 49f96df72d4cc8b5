// The files the show reads at start-up, relative to its working directory. The show, the asset
// generator (which writes them) and the tests all read this one list.
#ifndef SHOWFILES_H
#define SHOWFILES_H

#include <array>

// The sprite images; the position of a path is its sprite index. Sprites 33 and 34 share the spoon.
constexpr std::array<const char*, 38> SPRITE_FILES = {
    "gfx/sockwalk.png",  "gfx/sockyell0.png", "gfx/sockyell1.png",   "gfx/block.png",
    "gfx/pipe.png",      "gfx/dome.png",      "gfx/cloud0.png",      "gfx/cloud1.png",
    "gfx/sky0.png",      "gfx/sky1.png",      "gfx/sky2.png",        "gfx/shrub0.png",
    "gfx/shrub1.png",    "gfx/shrub2.png",    "gfx/textdot.png",     "gfx/cereal0.png",
    "gfx/cereal1.png",   "gfx/cereal2.png",   "gfx/cereal3.png",     "gfx/cereal4.png",
    "gfx/cereal5.png",   "gfx/cereal6.png",   "gfx/cereal7.png",     "gfx/cereal8.png",
    "gfx/grass.png",     "gfx/ground0.png",   "gfx/ground1.png",     "gfx/ground2.png",
    "gfx/stone0.png",    "gfx/stone1.png",    "gfx/stone2.png",      "gfx/domefloor.png",
    "gfx/bowl.png",      "gfx/spoon.png",     "gfx/spoon.png",       "gfx/fridge-open.png",
    "gfx/fridge-closed.png", "gfx/table.png",
};

constexpr const char* FONT_FILE = "gfx/font5.png";   // the dot font: one row of 5 x 5 glyphs

// The sound effects; the position of a path is its sound index while all three load.
constexpr std::array<const char*, 3> EFFECT_FILES = {"sfx/future.ogg", "sfx/AUAUAUAHAHAH.ogg", "sfx/VLERVELER.ogg"};

constexpr const char* SONG_FILE = "sfx/towers.xm";   // the tracker song, played in a loop
constexpr const char* NAMES_FILE = "names.txt";      // the names the sky boats carry

#endif
