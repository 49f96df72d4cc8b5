// Texture names of the sprites in WebGL, where only names OpenGL generated can be bound.
#include "sprite_texture.h"

#include <vector>

namespace {

std::vector<GLuint> names;   // by sprite index; 0 while a sprite has none yet

}  // namespace

GLuint sprite_texture_name(int sprite)
{
    if (sprite < 0)
        return 0;
    if (static_cast<size_t>(sprite) >= names.size())
        names.resize(static_cast<size_t>(sprite) + 1, 0);
    if (names[sprite] == 0)
        glGenTextures(1, &names[sprite]);
    return names[sprite];
}
