#include "web_rwops.h"

#include <emscripten.h>

EM_JS(char*, rwops_file_name_js, (SDL_RWops * rw), {
    var ops = SDL.rwops[rw];
    return ops && ops.filename !== undefined ? newCString(ops.filename) : 0;
});

EM_JS(const unsigned char*, rwops_memory_js, (SDL_RWops * rw, size_t* size), {
    var ops = SDL.rwops[rw];
    if (!ops || ops.bytes === undefined) return 0;
    HEAPU32[size >> 2] = ops.count;
    return ops.bytes;
});

char* rwops_file_name(SDL_RWops* rw)
{
    return rwops_file_name_js(rw);
}

const unsigned char* rwops_memory(SDL_RWops* rw, size_t* size)
{
    *size = 0;
    return rwops_memory_js(rw, size);
}
