// assetgen: writes every file the show reads at start-up into the run folder, or lists them.
// Usage: assetgen <run folder>
//        assetgen --list      (one path a line, in the order the show reads them)
#include "assets.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

// Prints the show's files, one a line, for scripts that check or damage them.
static void list_files()
{
    for (const std::string& path : show_files())
        std::printf("%s\n", path.c_str());
}

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        list_files();
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: assetgen <run folder> | assetgen --list\n");
        return 2;
    }
    const std::string outdir = argv[1];
    for (const char* sub : {"", "/gfx", "/sfx"})
        mkdir((outdir + sub).c_str(), 0755);

    const bool ok = write_pictures(outdir) && write_sounds(outdir) && write_names(outdir);
    return ok ? 0 : 1;
}
