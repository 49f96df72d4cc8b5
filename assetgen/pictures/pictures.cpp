// The sprite table of the generator: every image the show loads, its size and its painter.
// Sizes follow from where the show draws each sprite: the planet centre lies 1700 px below
// the top of the screen, a quad is centred on its anchor and sits a quarter of its image
// height nearer the centre than its point on the circle.
#include "assets.h"
#include "picture_canvas.h"
#include "picture_font.h"
#include "picture_sheet.h"
#include "picture_sprites.h"
#include "showfiles.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

// One sprite's image: the sprite (its file comes from the show's list), its size in pixels and how to paint it.
struct SpriteArt {
    int sprite;
    int width;
    int height;
    std::function<void(cairo_t*, int, int)> paint;
};

constexpr int SOCK_W = 192;        // room for the toe that points the way the sock walks
constexpr int SOCK_H = 256;        // at radius 1200 the sole lands at 1200 - 3/4 x 256 = 1008, in the grass blades
constexpr int BLOCK_SIZE = 64;     // a plain filler block
constexpr int PIPE_W = 96;         // body 64 px plus the flange that hides each joint
constexpr int PIPE_H = 480;        // x 0.6 = 288 px, longer than the 250 px step between segments
constexpr int DOME_W = 256;        // the cupola on top of a tower
constexpr int DOME_H = 512;        // its stem reaches 3/4 x 512 = 384 px inward, past the first pipe's top
constexpr int CLOUD_BIG_W = 384;   // clouds float at zoom 0.5 and 0.7, so they are painted large
constexpr int CLOUD_BIG_H = 192;
constexpr int CLOUD_SMALL_W = 320;
constexpr int CLOUD_SMALL_H = 176;
constexpr int BACKDROP_W = 256;    // opaque core 208 px x 10 covers 1920 px; the rest fades out
constexpr int BACKDROP_H = 160;    // opaque core 124 px x 10 covers 1080 px; the rest fades out
constexpr int SPARKLE_SIZE = 64;   // specks grow to zoom 1 in a 100 px grid cell
constexpr int SMALL_SPARKLE_SIZE = 48;   // a smaller kind, for variety among the specks
constexpr int SHRUB_H = 272;       // bases sink under the turf top (1000): to 996 at zoom 0.5 on radius 1200, 978 at 0.7 on 1170
constexpr int SHRUB_W = 256;       // bushes of different widths, so the hills look varied
constexpr int PINE_W = 160;
constexpr int BLOSSOM_W = 224;
constexpr int TEXT_DOT_SIZE = 48;  // x 0.3 = 14.4 px, under the 16 px between dots
constexpr int CEREAL_SIZE = 64;    // about 19 px at zoom 0.3
constexpr int GRASS_W = 64;        // blades 36 px apart overlap by 28 px
constexpr int GRASS_H = 96;        // turf from radius 928 to 1000 on radius 1000, blades above
constexpr int BODY_SIZE = 208;     // x 10 = 2080 px: the planet disk (radius 990) with room for its soft rim
constexpr int BURIED_SIZE = 64;    // pebbles and gems that surface inside the planet
constexpr int FLOOR_W = 48;        // floor pieces 38 px apart overlap by 10 px
constexpr int FLOOR_H = 80;        // floor top at radius 1004 on radius 1000
constexpr int BOWL_W = 320;        // x 0.15 on a sky boat still as wide as the sock rowing it
constexpr int BOWL_H = 128;        // at zoom 0.5, 130 px above the table, its foot rests on the table top
constexpr int SPOON_W = 96;        // a wooden spoon held slantwise as an oar
constexpr int SPOON_H = 192;
constexpr int FRIDGE_W = 320;      // room beside the body for the open door
constexpr int FRIDGE_H = 568;      // at radius 1430 its feet land at 1430 - 3/4 x 568 = 1004, on the floor
constexpr int TABLE_W = 384;       // wide enough for the bowl with room to spare
constexpr int TABLE_H = 264;       // at radius 1200 its feet land at 1002 and its top at 1266, under the bowl

// The art of every sprite that has an image of its own (SPOON_SPARE shares SPOON's).
std::vector<SpriteArt> sprite_arts()
{
    std::vector<SpriteArt> arts = {
        {SPRITE_SOCKWALK, SOCK_W, SOCK_H, [](cairo_t* cr, int w, int h) { paint_sock(cr, w, h, SockFace::SMILE); }},
        {SPRITE_SOCKYELL0, SOCK_W, SOCK_H, [](cairo_t* cr, int w, int h) { paint_sock(cr, w, h, SockFace::SHOUT); }},
        {SPRITE_SOCKYELL1, SOCK_W, SOCK_H, [](cairo_t* cr, int w, int h) { paint_sock(cr, w, h, SockFace::ROAR); }},
        {SPRITE_BLOCK, BLOCK_SIZE, BLOCK_SIZE, paint_block},
        {SPRITE_PIPE, PIPE_W, PIPE_H, paint_pipe},
        {SPRITE_DOME, DOME_W, DOME_H, paint_dome},
        {SPRITE_CLOUD0, CLOUD_BIG_W, CLOUD_BIG_H, [](cairo_t* cr, int w, int h) { paint_cloud(cr, w, h, 6); }},
        {SPRITE_CLOUD1, CLOUD_SMALL_W, CLOUD_SMALL_H, [](cairo_t* cr, int w, int h) { paint_cloud(cr, w, h, 4); }},
        {SPRITE_SKY0, BACKDROP_W, BACKDROP_H, paint_night_sky},
        {SPRITE_SKY1, SPARKLE_SIZE, SPARKLE_SIZE, paint_twinkle},
        {SPRITE_SKY2, SMALL_SPARKLE_SIZE, SMALL_SPARKLE_SIZE, paint_starburst},
        {SPRITE_SHRUB0, SHRUB_W, SHRUB_H, paint_round_bush},
        {SPRITE_SHRUB1, PINE_W, SHRUB_H, paint_pine},
        {SPRITE_SHRUB2, BLOSSOM_W, SHRUB_H, paint_blossom_bush},
        {SPRITE_TEXTDOT, TEXT_DOT_SIZE, TEXT_DOT_SIZE, paint_text_dot},
        {SPRITE_GRASS, GRASS_W, GRASS_H, paint_grass},
        {SPRITE_GROUND0, BODY_SIZE, BODY_SIZE, paint_planet_body},
        {SPRITE_GROUND1, BURIED_SIZE, BURIED_SIZE, paint_buried_pebbles},
        {SPRITE_GROUND2, BURIED_SIZE, BURIED_SIZE, paint_buried_gem},
        {SPRITE_STONE0, BACKDROP_W, BACKDROP_H, paint_stone_wall},
        {SPRITE_STONE1, SPARKLE_SIZE, SPARKLE_SIZE, paint_pebble},
        {SPRITE_STONE2, SMALL_SPARKLE_SIZE, SMALL_SPARKLE_SIZE, paint_glint},
        {SPRITE_DOMEFLOOR, FLOOR_W, FLOOR_H, paint_floor_tiles},
        {SPRITE_BOWL, BOWL_W, BOWL_H, paint_bowl},
        {SPRITE_SPOON, SPOON_W, SPOON_H, paint_spoon},
        {SPRITE_FRIDGE_OPEN, FRIDGE_W, FRIDGE_H, [](cairo_t* cr, int w, int h) { paint_fridge(cr, w, h, true); }},
        {SPRITE_FRIDGE_CLOSED, FRIDGE_W, FRIDGE_H, [](cairo_t* cr, int w, int h) { paint_fridge(cr, w, h, false); }},
        {SPRITE_TABLE, TABLE_W, TABLE_H, paint_table},
    };
    for (int kind = 0; kind < CEREAL_KINDS; ++kind)
        arts.push_back({SPRITE_CEREAL0 + kind, CEREAL_SIZE, CEREAL_SIZE,
                        [kind](cairo_t* cr, int w, int h) { paint_cereal(cr, w, h, kind); }});
    return arts;
}

// The art of `sprite`, or null when the generator has none.
const SpriteArt* art_of(const std::vector<SpriteArt>& arts, int sprite)
{
    for (const SpriteArt& art : arts)
        if (art.sprite == sprite)
            return &art;
    return nullptr;
}

// Paints one sprite and writes it to `path` under the run folder.
bool write_sprite(const std::string& outdir, const std::string& path, const SpriteArt& art)
{
    Canvas canvas(art.width, art.height);
    art.paint(canvas.cr(), art.width, art.height);
    return canvas.save(outdir + "/" + path);
}

}  // namespace

bool write_pictures(const std::string& outdir)
{
    const std::vector<SpriteArt> arts = sprite_arts();
    std::vector<std::string> files;
    for (int sprite = 0; sprite < SPRITE_COUNT; ++sprite) {
        const std::string path = SPRITE_FILES[sprite];
        if (std::find(files.begin(), files.end(), path) != files.end())
            continue;   // an image two sprites share, already written
        const SpriteArt* art = art_of(arts, sprite);
        if (!art) {
            std::fprintf(stderr, "assetgen: no picture is drawn for %s\n", path.c_str());
            return false;
        }
        if (!write_sprite(outdir, path, *art))
            return false;
        files.push_back(path);
    }
    return write_dot_font(outdir + "/" + FONT_FILE) && write_contact_sheet(outdir, files, FONT_FILE);
}
