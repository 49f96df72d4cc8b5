// Where the sprites' textures live, what they are named and how a texel position becomes a texture
// coordinate. Natively: rectangle textures named by the sprite index, addressed in texels. In a web
// browser (WebGL) there are no rectangle textures and only generated names: 2D textures of any size,
// addressed from 0 to 1 across the image, each named by the browser's OpenGL when first used.
#ifndef SPRITE_TEXTURE_H
#define SPRITE_TEXTURE_H

#include <GL/gl.h>
#include <GL/glext.h>

#ifdef __EMSCRIPTEN__
constexpr GLenum SPRITE_TEXTURE = GL_TEXTURE_2D;

// The texture name of sprite `sprite`, generated on first use (web/sprite_names.cpp).
GLuint sprite_texture_name(int sprite);

// The coordinate of texel edge `texel` in an image `size` texels across.
inline float texel_coordinate(int texel, int size)
{
    return static_cast<float>(texel) / static_cast<float>(size);
}
#else
constexpr GLenum SPRITE_TEXTURE = GL_TEXTURE_RECTANGLE_ARB;

// The texture name of sprite `sprite`: the index itself.
inline GLuint sprite_texture_name(int sprite)
{
    return static_cast<GLuint>(sprite);
}

// The coordinate of texel edge `texel`: rectangle textures take it as it is.
inline float texel_coordinate(int texel, int)
{
    return static_cast<float>(texel);
}
#endif

#endif
