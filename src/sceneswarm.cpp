#include "sceneswarm.h"

#include "scene.h"
#include "trace.h"

#include <iostream>

// The scenes are built during static initialisation, before `randomise` (priority 1200) seeds the
// generator, so their layout is the same in every run. Their construction traces, so the standard
// streams are made ready first.
static std::ios_base::Init streams_ready __attribute__((init_priority(1000)));
SCENESWARM sceneswarm __attribute__((init_priority(1100)));

// Builds scene 1 and scene 2, in that order.
SCENESWARM::SCENESWARM() : showticks(0)
{
    scene1 = new SCENE(1);
    scene2 = new SCENE(2);
    add_scene(scene1);
    add_scene(scene2);
}

// The scenes last until the program ends; only the list goes.
SCENESWARM::~SCENESWARM() {}

// Appends a scene to the processing and drawing order.
void SCENESWARM::add_scene(SCENE* s)
{
    scenes.push_back(s);
}

// Shows the scene, lets it run, or hides and stops it.
static void show(SCENE* scene, bool on)
{
    scene->visibility(on);
    scene->run(on);
}

// The show's timeline: what changes at show tick t.
void SCENESWARM::timeline_step(int t)
{
    if (t == 0) {
        show(scene1, true);
        scene1->setmode(MODE_WANDER);
    } else if (t == 2000) {
        trace() << "SCENE CHANGE: BUILDFUTURE" << std::endl;
        scene1->setmode(MODE_BUILDFUTURE);
    } else if (t == 10000) {
        trace() << "SCENE CHANGE: VACUUM" << std::endl;
        scene1->setmode(MODE_VACUUM);
    } else if (t == 15000) {
        show(scene1, false);
        show(scene2, true);
        scene2->setmode(MODE_WANDER);
    } else if (t == 20000) {
        show(scene1, true);
        show(scene2, false);
        scene1->setmode(MODE_CLIMB);
    } else if (t == 30000) {
        scene1->camy = START_CAMY;
        scene1->setmode(MODE_VACUUM);
    } else if (t == 32000) {
        show(scene1, false);
        show(scene2, true);
        scene2->setmode(MODE_IDLE);
    } else if (t > ALTERNATION_START && t % (2 * ALTERNATION_PERIOD) == 0) {
        show(scene1, true);
        scene1->camangle = 0.0f;
        show(scene2, false);
    } else if (t > ALTERNATION_START && t % ALTERNATION_PERIOD == 0) {
        show(scene1, false);
        scene2->camangle = 0.0f;
        show(scene2, true);
    }
}

// One show tick: the timeline step due now, then both scenes.
void SCENESWARM::process(const TickInput& input)
{
    timeline_step(showticks);
    for (SCENE* s : scenes)
        s->process(input);
    showticks += 1;
}
