// The names the sky boats carry, greetings style: invented handles, written to names.txt
// with a comma after every name (the show drops whatever follows a line's last comma).
#include "assets.h"
#include "showfiles.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int NAMES_PER_LINE = 5;   // a handful per line keeps the file easy to read and edit

// Made-up handles of made-up crews; only letters, digits, spaces and a few signs of the dot font.
constexpr const char* NAMES[] = {
    "Zorblax",    "Mimsy Quill", "Fennowick",  "Tarlo",      "Quibble",    "Vextra",     "Pipsqueax",
    "Oddvin",     "Tessaloop",   "Marrowbit",  "Quenby",     "Zilfa",      "Gromdle",    "Nubbin",
    "Yarrowind",  "Plinkett",    "Sockrates",  "Dr Wobble",  "Kettlefunk", "Brisqo",     "Humdinga",
    "Lorpo",      "Crumbsy",     "Jaxolotl",   "Velvetine",  "Moxie 8",    "Spindrel",   "Ubbo",
    "Thistlewit", "Gazumpa",     "Frizzelda",  "Oomph",      "Wendle",     "Skronk",     "Pebbelle",
    "Haxx0rina",  "Norbit",      "Glimmerkin", "Tuftus",     "Rumblesnout", "Ixi",       "Quorp",
    "Bloopa",     "Fizzwick",    "Marzipants", "Yonk",       "Cheddarwolf", "Pixelnan",  "Trundle",
    "Zazzy@Home",
};

// The file's text: the names in order, NAMES_PER_LINE to a line, each followed by a comma.
std::string names_text()
{
    std::string text;
    int on_line = 0;
    for (const char* name : NAMES) {
        text += name;
        text += ',';
        if (++on_line == NAMES_PER_LINE) {
            text += '\n';
            on_line = 0;
        }
    }
    if (on_line != 0)
        text += '\n';
    return text;
}

}  // namespace

bool write_names(const std::string& outdir)
{
    const std::string path = outdir + "/" + NAMES_FILE;
    std::ofstream file(path, std::ios::binary);
    file << names_text();
    file.close();
    if (!file) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}
