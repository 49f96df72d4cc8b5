// The asset generator's writers. Each writes its files under the run folder
// `outdir` (which already exists), byte for byte the same on every run, and returns
// false after printing a message on standard error when something cannot be written.
#ifndef ASSETS_H
#define ASSETS_H

#include <string>
#include <vector>

// Every file the show reads, in the order it reads them: the sprite paths (the spoon twice),
// the font, the three effects, the song and the names file.
std::vector<std::string> show_files();

// Writes every distinct sprite image of the show's list (SPOON and SPOON_SPARE share
// gfx/spoon.png), the dot font and the review sheet contact-sheet.png.
bool write_pictures(const std::string& outdir);

// Writes the show's three effects (Ogg Vorbis) and its song (XM).
bool write_sounds(const std::string& outdir);

// Writes the names file.
bool write_names(const std::string& outdir);

// Writes the program's icon for desktop menus as outdir/<size>x<size>/apps/quoravint.png, the
// layout of an icon theme's folder.
bool write_icons(const std::string& outdir);

#endif
