// What the show expects of SDL 1.2 on Linux and Emscripten's SDL headers (SDL 1.3 style) say
// otherwise; included before every source of the web programs.
#ifndef SDL12_WEB_H
#define SDL12_WEB_H

// On Linux SDL 1.2 declares no SDL_main: the show declares its own (main.h). Emscripten's
// SDL_main.h would declare it with C linkage, so it is kept out.
#define _SDL_main_h

#include <SDL/SDL.h>

// Emscripten's SDL implements SDL 1.2's keyboard state call but its headers no longer declare it.
extern "C" Uint8* SDL_GetKeyState(int* numkeys);

#endif
