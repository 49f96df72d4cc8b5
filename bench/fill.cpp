#include "fill.h"

#include "gfx.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cmath>

// Reads the alpha of every sprite texture back with glGetTexImage.
std::vector<std::vector<uint8_t>> read_sprite_alphas()
{
    std::vector<std::vector<uint8_t>> alphas(spritedata.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (size_t i = 0; i < spritedata.size(); ++i) {
        alphas[i].resize(static_cast<size_t>(spritedata[i].w) * spritedata[i].h);
        glBindTexture(GL_TEXTURE_RECTANGLE_ARB, static_cast<GLuint>(i));
        glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alphas[i].data());
    }
    return alphas;
}

// The screen pixels, ends included, that the quad's corners span, within the screen; false when none.
static bool screen_span(const PlacedQuad& q, int& x0, int& y0, int& x1, int& y1)
{
    double lx = HUGE_VAL, ly = HUGE_VAL, hx = -HUGE_VAL, hy = -HUGE_VAL;
    for (double u : {0.0, double(q.w)})
        for (double v : {0.0, double(q.h)}) {
            double x, y;
            quad_screen_at(q, u, v, x, y);
            lx = std::min(lx, x);
            ly = std::min(ly, y);
            hx = std::max(hx, x);
            hy = std::max(hy, y);
        }
    // Held within the screen before becoming ints: a quad at a huge scale reaches far beyond them.
    const double w = SCREEN_WIDTH, h = SCREEN_HEIGHT;
    x0 = static_cast<int>(std::floor(std::max(0.0, std::min(w, lx))));
    y0 = static_cast<int>(std::floor(std::max(0.0, std::min(h, ly))));
    x1 = static_cast<int>(std::ceil(std::max(-1.0, std::min(w - 1, hx))));
    y1 = static_cast<int>(std::ceil(std::max(-1.0, std::min(h - 1, hy))));
    return x0 <= x1 && y0 <= y1;
}

// Adds one quad's fragments: every pixel centre the quad covers, classed by its nearest texel.
static void add_quad(const PlacedQuad& q, const std::vector<uint8_t>& alpha, SpriteFill& fill)
{
    ++fill.quads;
    int x0, y0, x1, y1;
    if (alpha.size() != static_cast<size_t>(q.w) * q.h || !screen_span(q, x0, y0, x1, y1))
        return;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double u, v;
            quad_texture_at(q, x + 0.5, y + 0.5, u, v);
            if (u < 0 || v < 0 || u >= q.w || v >= q.h)
                continue;
            const uint8_t a = alpha[static_cast<size_t>(v) * q.w + static_cast<size_t>(u)];
            fill.pixels += 1;
            fill.transparent += a == 0;
            fill.opaque += a == 255;
        }
}

// Adds each quad's fragments to its sprite's fill.
void add_fill(const std::vector<PlacedQuad>& quads, const std::vector<std::vector<uint8_t>>& alphas,
              std::vector<SpriteFill>& fill)
{
    for (const PlacedQuad& q : quads) {
        if (q.sprite < 0 || static_cast<size_t>(q.sprite) >= alphas.size())
            continue;
        if (fill.size() <= static_cast<size_t>(q.sprite))
            fill.resize(q.sprite + 1);
        add_quad(q, alphas[q.sprite], fill[q.sprite]);
    }
}
