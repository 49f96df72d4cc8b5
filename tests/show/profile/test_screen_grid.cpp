// The backdrop spawners' grid, which each screen profile sizes to its own screen.
#include "entity_testing.h"
#include "host_services.h"
#include "profile.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

// The far grid centres, across and down, of each profile's screen.
const std::map<std::string, std::pair<int, int>> LAST_GRID_CENTRE = {{"sd", {950, 650}}, {"hd", {1850, 950}}};

TEST(ScreenGrid, SpawnersHideAndScatterSpecksOverIt)
{
    TraceSilencer quiet;
    const auto [last_x, last_y] = LAST_GRID_CENTRE.at(PROFILE_NAME);
    for (int type : {TYPE_SKYSPAWNER, TYPE_STONESPAWNER}) {
        TestScene fresh;
        SCENE& own = fresh.scene;
        ENTITY* spawner = add_new(own.backdrop, 0, 0, type);
        EXPECT_TRUE(spawner->visible) << "visible until its first tick";
        const int first_sprite = type == TYPE_SKYSPAWNER ? SPRITE_SKY0 : SPRITE_STONE0;
        std::set<int> xs, ys, sprites;
        seed_show_random(1);
        for (int tick = 0; tick < 3000; ++tick) {
            own.backdrop->process();
            EXPECT_FALSE(spawner->visible);
            ENTITY* speck = own.backdrop->entities.back();
            if (speck->type != TYPE_SPECK || speck->frametime != 1)
                continue;   // nothing was added this tick
            xs.insert(static_cast<int>(speck->x));
            ys.insert(static_cast<int>(speck->y));
            sprites.insert(speck->sprite);
            ASSERT_EQ(std::fmod(speck->x - 50, 100.0f), 0.0f);
            ASSERT_EQ(std::fmod(speck->y - 50, 100.0f), 0.0f);
        }
        EXPECT_EQ(*xs.begin(), 50);
        EXPECT_EQ(*xs.rbegin(), last_x);
        EXPECT_EQ(*ys.begin(), 50);
        EXPECT_EQ(*ys.rbegin(), last_y);
        EXPECT_EQ(sprites, (std::set<int>{first_sprite, first_sprite + 1, first_sprite + 2}));
    }
}

}  // namespace
