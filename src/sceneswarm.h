// The top of the show: both scenes and the show's timeline.
#ifndef SCENESWARM_H
#define SCENESWARM_H

#include "tick_input.h"

#include <vector>

class SCENE;

constexpr int ALTERNATION_START = 36000;   // after this show tick the two scenes take turns
constexpr int ALTERNATION_PERIOD = 1000;   // show ticks each scene is shown during the alternation

// Owns the two scenes and runs the show's timeline.
class SCENESWARM {
public:
    SCENE* scene1;
    SCENE* scene2;
    std::vector<SCENE*> scenes;   // processing and drawing order
    int showticks;                // completed process calls

    SCENESWARM();
    ~SCENESWARM();
    SCENESWARM(const SCENESWARM&) = delete;
    SCENESWARM& operator=(const SCENESWARM&) = delete;

    void add_scene(SCENE* s);
    void process(const TickInput& input = TickInput());

private:
    void timeline_step(int t);
};

extern SCENESWARM sceneswarm;

#endif
