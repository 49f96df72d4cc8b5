// The contact sheet: one labelled picture of every sprite and the enlarged dot font, for review.
#ifndef PICTURE_SHEET_H
#define PICTURE_SHEET_H

#include <string>
#include <vector>

// Reads the written sprites (paths relative to `outdir`) and the font back and lays them
// out on outdir/contact-sheet.png; prints a message and returns false on failure.
bool write_contact_sheet(const std::string& outdir, const std::vector<std::string>& sprite_files,
                         const std::string& font_file);

#endif
