// The asset generator's writers. Each writes its files under the run folder
// `outdir` (which already exists), byte for byte the same on every run, and returns
// false after printing a message on standard error when something cannot be written.
#ifndef ASSETS_H
#define ASSETS_H

#include <string>

// Writes the 37 distinct sprite images under gfx/ (sprites 33 and 34 share
// gfx/spoon.png), the dot font gfx/font5.png and the review sheet contact-sheet.png.
bool write_pictures(const std::string& outdir);

// Writes sfx/future.ogg, sfx/AUAUAUAHAHAH.ogg, sfx/VLERVELER.ogg and sfx/towers.xm.
bool write_sounds(const std::string& outdir);

// Writes names.txt.
bool write_names(const std::string& outdir);

// Writes the program's icon for desktop menus as outdir/<size>x<size>/apps/quoravint.png, the
// layout of an icon theme's folder.
bool write_icons(const std::string& outdir);

#endif
