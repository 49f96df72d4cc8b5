// rand() and srand() of the browser build: glibc's generator (glibc_random.h) in place of musl's,
// so a seed gives the layout it gives natively, and the unseeded scenes are built alike.
#include "glibc_random.h"

// The one generator, made on first use: the scenes draw from it during static initialisation.
static GlibcRandom& generator()
{
    static GlibcRandom random;
    return random;
}

extern "C" int rand()
{
    return generator().next();
}

extern "C" void srand(unsigned seed)
{
    generator().seed(seed);
}
