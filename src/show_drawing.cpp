#include "show_drawing.h"

#include "entity.h"
#include "entityswarm.h"
#include "gfx.h"
#include "scene.h"
#include "sceneswarm.h"
#include "trace.h"

namespace {

constexpr float TEXTFRAME_CULL_PER_CHAR = 30.0f;   // a text frame stays drawn this much longer per character

// Whether a world-swarm entity lies more than half a turn (in the layer's scaled angle) from the camera.
bool outside_view(ENTITY& e)
{
    if (e.swarm->drawmode != 1 || e.type == TYPE_GROUNDCORE || e.type == TYPE_SPECK)
        return false;
    const SCENE* scene = e.thescene();
    const float half = static_cast<float>(HALF_TURN / e.swarm->get_scale());
    float left = scene->camangle - half;
    const float right = scene->camangle + half;
    if (e.type == TYPE_TEXTFRAME)
        left -= TEXTFRAME_CULL_PER_CHAR * e.text.size();
    const float where = e.absx();
    return where < left || where > right;
}

// Draws the entity's own quad: the planet body at the centre, flat or polar by its swarm.
void draw_quad(ENTITY& e)
{
    const bool flip = e.facing == 0;
    const SCENE* scene = e.thescene();
    if (e.type == TYPE_GROUNDCORE)
        draw_gl_flat(e.sprite, HALF_WIDTH, PLANET_CENTRE_Y, 0, scene->camy, e.swarm->get_scale(), 0, e.zoom, flip, 0,
                     0, 0);
    else if (e.swarm->drawmode == 0)
        draw_gl_flat(e.sprite, e.absx(), e.absy(), 0, 0, 1.0f, 0, e.zoom, flip, 0, 0, 0);
    else if (e.swarm->drawmode == 1)
        draw_gl_entity(e.sprite, e.absx(), e.absy(), scene->camangle, scene->camy, e.swarm->get_scale(), e.angle,
                       e.abszoom(), flip, 0, 0, 0);
}

}  // namespace

// The pipes trace each draw, in and out of view, as they always have.
void draw_entity(ENTITY& entity)
{
    if (entity.type == TYPE_PIPE)
        trace() << "PIPE DRAW ";
    if (outside_view(entity) || !entity.visible)
        return;
    if (entity.sprite != SPRITE_NONE)
        draw_quad(entity);
    draw_swarm(*entity.children);
}

void draw_swarm(ENTITYSWARM& swarm)
{
    for (ENTITY* e : swarm.entities)
        draw_entity(*e);
}

void draw_scene(SCENE& scene)
{
    if (!scene.visible)
        return;
    for (const SceneLayer& layer : DRAWING_ORDER)
        draw_swarm(*(scene.*layer.swarm));
}

void draw_show(SCENESWARM& show)
{
    for (SCENE* s : show.scenes)
        draw_scene(*s);
}
