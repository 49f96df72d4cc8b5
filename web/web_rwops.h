// Emscripten's SDL_RWops are not structures but numbers into a table of its JavaScript side;
// these read what they stand for.
#ifndef WEB_RWOPS_H
#define WEB_RWOPS_H

#include <SDL/SDL.h>

#include <cstddef>

// The file name behind `rw` (free it with free()), or null when it names no file.
char* rwops_file_name(SDL_RWops* rw);

// The memory behind `rw` and its size, or null when it names no memory.
const unsigned char* rwops_memory(SDL_RWops* rw, size_t* size);

#endif
