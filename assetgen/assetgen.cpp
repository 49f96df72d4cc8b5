// assetgen: writes every file the show reads at start-up into the run folder.
// Usage: assetgen <run folder>, or assetgen --icons <folder> for the desktop icon alone.
#include "assets.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0)
        return write_icons(argv[2]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <run folder> | assetgen --icons <folder>\n");
        return 2;
    }
    const std::string outdir = argv[1];
    for (const char* sub : {"", "/gfx", "/sfx"})
        mkdir((outdir + sub).c_str(), 0755);

    const bool ok = write_pictures(outdir) && write_sounds(outdir) && write_names(outdir);
    return ok ? 0 : 1;
}
