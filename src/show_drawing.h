// The show drawn from its model: the scenes, their layers and entities, back to front. Drawing
// reads the model; the model knows nothing of drawing.
#ifndef SHOW_DRAWING_H
#define SHOW_DRAWING_H

class ENTITY;
class ENTITYSWARM;
class SCENE;
class SCENESWARM;

// Draws every scene in order; a hidden one draws nothing.
void draw_show(SCENESWARM& show);

// Draws the scene's six layers back to front, if the scene is visible.
void draw_scene(SCENE& scene);

// Draws every entity of the swarm in insertion order.
void draw_swarm(ENTITYSWARM& swarm);

// Draws the entity's quad, if it is in view and visible, then its children over it.
void draw_entity(ENTITY& entity);

#endif
