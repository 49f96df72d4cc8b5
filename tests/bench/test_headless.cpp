// The headless show's counts and names, on the real scenes the show builds.
#include "headless.h"

#include "entity.h"
#include "entityswarm.h"
#include "scene.h"
#include "sceneswarm.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int SCENE1_GRASS = 1500;   // blades of the grass ring: counter -500 up to 1000

TEST(Headless, LayersAreTheSixInProcessingOrder)
{
    const auto layers = scene_layers(sceneswarm.scene1);
    ASSERT_EQ(layers.size(), 6u);
    const char* names[] = {"bkg2", "bkg1", "backdrop", "core", "structures", "actors"};
    ENTITYSWARM* swarms[] = {sceneswarm.scene1->bkg2, sceneswarm.scene1->bkg1, sceneswarm.scene1->backdrop,
                             sceneswarm.scene1->core, sceneswarm.scene1->structures, sceneswarm.scene1->actors};
    for (int i = 0; i < 6; ++i) {
        EXPECT_STREQ(layers[i].first, names[i]);
        EXPECT_EQ(layers[i].second, swarms[i]);
    }
}

TEST(Headless, PopulationCountsChildrenAtEveryDepth)
{
    TraceSilencer quiet;
    ENTITYSWARM layer(static_cast<SCENE*>(nullptr), 1.0f);
    layer.add_entity(new ENTITY(&layer, nullptr, 0, 1200, TYPE_TABLE, 0, 0, 0, " ", STATE_IDLE));   // holds a bowl
    ENTITY* tower = new ENTITY(&layer, nullptr, 0, 2000, TYPE_TOWER, 0, 0, 0, " ", STATE_IDLE);
    layer.add_entity(tower);
    ENTITY* pipe = new ENTITY(tower->children, tower, 0, -400, TYPE_PIPE, 0, 0, 0, " ", STATE_IDLE);
    tower->children->add_entity(pipe);
    pipe->children->add_entity(new ENTITY(pipe->children, pipe, 0, -250, TYPE_PIPE, 0, 0, 0, " ", STATE_IDLE));
    EXPECT_EQ(swarm_population(&layer), 2 + 1 + 2);

    SCENE* kitchen = sceneswarm.scene2;
    long sum = 0;
    for (ENTITYSWARM* swarm : {kitchen->bkg2, kitchen->bkg1, kitchen->backdrop, kitchen->core, kitchen->structures,
                               kitchen->actors})
        sum += swarm_population(swarm);
    EXPECT_EQ(scene_population(kitchen), sum);
    EXPECT_GT(swarm_population(kitchen->structures), static_cast<long>(kitchen->structures->entities.size()));
}

TEST(Headless, ShownSceneFollowsTheTimeline)
{
    TraceSilencer quiet;
    EXPECT_EQ(shown_scene(), nullptr);   // nothing is shown before the first tick
    sceneswarm.process();
    ASSERT_EQ(shown_scene(), sceneswarm.scene1);
    EXPECT_STREQ(mode_name(shown_scene()->mode), "wander");
    EXPECT_GE(swarm_population(sceneswarm.scene1->actors), SCENE1_GRASS);
}

}
