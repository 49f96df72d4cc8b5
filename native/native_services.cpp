// The host services of every native host, over SDL 1.2, SDL_image and glibc: its random numbers and
// its images. The sound is each host's choice: native_sound.cpp, SDL_mixer's, for all but the capture.
#include "host_services.h"

#include <SDL/SDL_image.h>

#include <cstdlib>

// glibc's own generator. libmikmod, which plays the song in every native host, draws from its state
// too (random()), so a show with the song playing makes other choices than one without (make_reference.sh); the
// capture, which mixes in step with the ticks, makes the same ones every run.
int show_rand()
{
    return std::rand();
}

// Seeds glibc's generator.
void seed_show_random(unsigned seed)
{
    std::srand(seed);
}

// Decodes an image file's bytes with SDL_image.
SDL_Surface* decode_image(const unsigned char* bytes, size_t size)
{
    return IMG_Load_RW(SDL_RWFromConstMem(bytes, static_cast<int>(size)), 1);
}

// Frees a surface SDL_image made.
void free_image(SDL_Surface* image)
{
    SDL_FreeSurface(image);
}
