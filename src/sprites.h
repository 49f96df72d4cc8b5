// The show's sprites, listed once: each sprite's name and its image file, in sprite-index order.
// The list makes the sprite enum (SPRITE_<name>), the sprite file list of showfiles.h and the count;
// the asset generator paints each sprite by its enum name.
#ifndef SPRITES_H
#define SPRITES_H

// X(name, file) for every sprite, in index order. SPOON and SPOON_SPARE share one image.
#define SHOW_SPRITES(X)                                                                                 \
    X(SOCKWALK, "gfx/sockwalk.png") X(SOCKYELL0, "gfx/sockyell0.png") X(SOCKYELL1, "gfx/sockyell1.png") \
    X(BLOCK, "gfx/block.png") X(PIPE, "gfx/pipe.png") X(DOME, "gfx/dome.png")                           \
    X(CLOUD0, "gfx/cloud0.png") X(CLOUD1, "gfx/cloud1.png")                                             \
    X(SKY0, "gfx/sky0.png") X(SKY1, "gfx/sky1.png") X(SKY2, "gfx/sky2.png")                             \
    X(SHRUB0, "gfx/shrub0.png") X(SHRUB1, "gfx/shrub1.png") X(SHRUB2, "gfx/shrub2.png")                 \
    X(TEXTDOT, "gfx/textdot.png")                                                                       \
    X(CEREAL0, "gfx/cereal0.png") X(CEREAL1, "gfx/cereal1.png") X(CEREAL2, "gfx/cereal2.png")           \
    X(CEREAL3, "gfx/cereal3.png") X(CEREAL4, "gfx/cereal4.png") X(CEREAL5, "gfx/cereal5.png")           \
    X(CEREAL6, "gfx/cereal6.png") X(CEREAL7, "gfx/cereal7.png") X(CEREAL8, "gfx/cereal8.png")           \
    X(GRASS, "gfx/grass.png")                                                                           \
    X(GROUND0, "gfx/ground0.png") X(GROUND1, "gfx/ground1.png") X(GROUND2, "gfx/ground2.png")           \
    X(STONE0, "gfx/stone0.png") X(STONE1, "gfx/stone1.png") X(STONE2, "gfx/stone2.png")                 \
    X(DOMEFLOOR, "gfx/domefloor.png") X(BOWL, "gfx/bowl.png")                                           \
    X(SPOON, "gfx/spoon.png") X(SPOON_SPARE, "gfx/spoon.png")                                           \
    X(FRIDGE_OPEN, "gfx/fridge-open.png") X(FRIDGE_CLOSED, "gfx/fridge-closed.png")                     \
    X(TABLE, "gfx/table.png")

// Sprite indices, in the order of the list; SPRITE_COUNT sprites in all.
enum {
    SPRITE_NONE = -1,
#define SPRITE_ENUM(name, file) SPRITE_##name,
    SHOW_SPRITES(SPRITE_ENUM)
#undef SPRITE_ENUM
    SPRITE_COUNT
};

#endif
