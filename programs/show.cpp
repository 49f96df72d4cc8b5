// The program's entry: it hands over to the show's show_main, which never returns.
#include "main.h"

#include <SDL/SDL.h>
#include <cstdlib>

int main(int argc, char** argv)
{
    // The show ends with exit(), which runs this before the libraries unload: SDL's audio
    // thread stops first. sdl12-compat unloads SDL 2 at exit, and a thread still mixing
    // would call into it and crash the program instead of ending it with its status.
    std::atexit(SDL_Quit);
    return show_main(argc, argv);
}
