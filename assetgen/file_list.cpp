// The show's files as the generator lists and writes them, from the show's own list.
#include "assets.h"
#include "showfiles.h"

std::vector<std::string> show_files()
{
    std::vector<std::string> files(SPRITE_FILES.begin(), SPRITE_FILES.end());
    files.push_back(FONT_FILE);
    files.insert(files.end(), EFFECT_FILES.begin(), EFFECT_FILES.end());
    files.push_back(SONG_FILE);
    files.push_back(NAMES_FILE);
    return files;
}
