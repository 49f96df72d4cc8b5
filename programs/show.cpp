// The program's entry: SDL 1.2 on this platform supplies no wrapper of its own,
// so this one hands over to the show's SDL_main, which never returns.
#include "main.h"

int main(int argc, char** argv)
{
    return SDL_main(argc, argv);
}
