// The trace and the entity state of a scripted run, pinned to digests taken from a known-good
// build: the same entities, in the same order, from the same random draws, with the same numbers.
// The run builds both scenes and makes every kind of entity the show makes while it plays.
#include "entity_testing.h"
#include "file.h"
#include "host_services.h"
#include "profile.h"
#include "testsupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr unsigned SEED = 4242;                 // any fixed seed: the digests only need repeatable draws
constexpr std::uint64_t FNV_BASIS = 14695981039346656037ull;   // FNV-1a 64-bit offset basis
constexpr std::uint64_t FNV_PRIME = 1099511628211ull;          // FNV-1a 64-bit prime
constexpr int WANDER_TICKS = 520;               // past scene tick 500, so the scroll text is written
constexpr int PIPE_TICKS = 150;                 // towers grow and start their second pipe
constexpr int CALL_TICKS = 30;                  // the followed sock calls its tower up
constexpr int SKYNAMES_TICKS = 80;              // the boats' labels write all five dot rows
constexpr int KITCHEN_TICKS = 300;              // bowls throw cereal, spawners scatter stones
constexpr int AFTER_FRIDGE_TICKS = 250;         // scene 2 passes tick 500 and writes its scroll text
constexpr float MARKED_SOCK_X = 0.3f;           // a tenth-of-a-radian mark between two vacuum towers
constexpr float SOCK_Y = 1200.0f;               // where socks walk

// FNV-1a over everything fed to it, in order.
class Digest {
public:
    std::uint64_t hash = FNV_BASIS;

    // Feeds raw bytes.
    void bytes(const void* data, std::size_t n)
    {
        const unsigned char* p = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < n; ++i)
            hash = (hash ^ p[i]) * FNV_PRIME;
    }
    // Feeds the bytes of one value: a float's bit pattern, so any change of a last bit shows.
    template <class T>
    void value(T v)
    {
        bytes(&v, sizeof v);
    }
    // Feeds a string with its length, so that two strings never run together.
    void text(const std::string& s)
    {
        value(s.size());
        bytes(s.data(), s.size());
    }
};

// Feeds every field of the entity, then its children in list order.
void entity_state(Digest& d, const ENTITY& e)
{
    d.text(e.text);
    for (float f : {e.ax, e.ay, e.angle, e.spin, e.spinpivot, e.limit, e.timer, e.x, e.y, e.vx, e.vy, e.zoomspeed,
                    e.zoom})
        d.value(f);
    for (int i : {e.textrow, e.frametime, e.sprite, e.mode, e.type, e.facing})
        d.value(i);
    for (bool b : {e.alive, e.visible, e.inheritzoom})
        d.value(b);
    d.value(e.children->entities.size());
    for (const ENTITY* child : e.children->entities)
        entity_state(d, *child);
}

// Feeds the scene's camera, counters and every layer with its entities.
void scene_state(Digest& d, const SCENE& s)
{
    for (float f : {s.camspin, s.camlift, s.camangle, s.camy})
        d.value(f);
    for (int i : {s.number, s.mode, s.ticks, s.modeticks})
        d.value(i);
    d.value(s.nextname);
    for (const SceneLayer& drawn : DRAWING_ORDER) {
        const ENTITYSWARM* layer = s.*drawn.swarm;
        d.value(layer->drawmode);
        d.value(layer->scale);
        d.value(layer->entities.size());
        for (const ENTITY* e : layer->entities)
            entity_state(d, *e);
    }
}

// What a run left: its trace's length and digest and the digest of the entity state.
struct Outcome {
    std::size_t trace_length;
    std::uint64_t trace_hash;
    std::uint64_t state_hash;
};

// The outcome of a trace and a state digest.
Outcome outcome(const std::string& trace, const Digest& state)
{
    Digest d;
    d.bytes(trace.data(), trace.size());
    return {trace.size(), d.hash, state.hash};
}

// The three values as the source of a test expectation, for a failure message.
std::string as_source(const Outcome& o)
{
    std::ostringstream out;
    out << "{" << o.trace_length << ", 0x" << std::hex << o.trace_hash << "ull, 0x" << o.state_hash << "ull}";
    return out.str();
}

// Compares a run's outcome with the expected one of this screen profile.
void expect_outcome(const Outcome& got, const Outcome& want)
{
    EXPECT_EQ(got.trace_length, want.trace_length);
    EXPECT_EQ(got.trace_hash, want.trace_hash);
    EXPECT_EQ(got.state_hash, want.state_hash) << "got " << as_source(got);
}

// Replaces the names list while it lives.
class NamesSwap {
public:
    explicit NamesSwap(std::vector<std::string> names) : saved(std::move(text().lines)) { text().lines = names; }
    ~NamesSwap() { text().lines = std::move(saved); }
    NamesSwap(const NamesSwap&) = delete;
    NamesSwap& operator=(const NamesSwap&) = delete;

private:
    std::vector<std::string> saved;
};

// Runs `ticks` ticks of the scene.
void run(SCENE& scene, int ticks)
{
    for (int i = 0; i < ticks; ++i)
        scene.process();
}

// Puts the camera on `who`, so that the next tick arrives at it without approaching.
void look_at(SCENE& scene, ENTITY* who)
{
    scene.target = who;
    scene.camangle = static_cast<float>(who->absx() + QUARTER_TURN);
}

// The first entity of `type` in the swarm, or null.
ENTITY* first_of(ENTITYSWARM* swarm, int type)
{
    for (ENTITY* e : swarm->entities)
        if (e->type == type)
            return e;
    return nullptr;
}

// The value this build's profile expects: the backdrop layers and the spawners' specks stand on the screen grid.
Outcome for_profile(const std::map<std::string, Outcome>& expected)
{
    return expected.at(PROFILE_NAME);
}

TEST(SpawnTrace, BothScenesAreBuiltAsBefore)
{
    Digest state;
    std::string trace;
    {
        TraceCapture capture;
        seed_show_random(SEED);
        SCENE* one = new SCENE(1);
        SCENE* two = new SCENE(2);
        trace = capture.text();
        scene_state(state, *one);
        scene_state(state, *two);
        release_scene(one);
        release_scene(two);
    }
    expect_outcome(outcome(trace, state), for_profile({{"sd", {36724, 0x2cabd52942b959fcull, 0xd38371a93db9c697ull}},
                                                       {"hd", {36724, 0x2cabd52942b959fcull, 0x81599096589ab77ull}}}));
}

TEST(SpawnTrace, EveryKindOfEntityTheShowMakesIsMadeAsBefore)
{
    SoundProbe sound;   // effects play silently instead of tracing that they are missing
    FontSwap font(solid_glyphs(CHARMAP_LENGTH));
    NamesSwap names({"ADA", "BO", "CY"});
    Digest state;
    std::string trace;
    {
        TraceCapture capture;
        seed_show_random(SEED);
        SCENE* one = new SCENE(1);
        one->run(true);
        one->setmode(MODE_WANDER);
        run(*one, WANDER_TICKS);       // clouds, new socks, specks of the core and the sky, the scroll text
        one->setmode(MODE_VACUUM);     // forty towers ...
        one->setmode(MODE_IDLE);       // ... that build their pipes while the camera picks nothing
        run(*one, PIPE_TICKS);
        one->setmode(MODE_BUILDFUTURE);
        ENTITY* sock = add_new(one->actors, MARKED_SOCK_X, SOCK_Y, TYPE_SOCK);
        look_at(*one, sock);
        run(*one, CALL_TICKS);         // the sock calls a tower up
        EXPECT_EQ(sock->mode, STATE_CALL);
        EXPECT_EQ(one->structures->entities.size(), 41u);
        scene_state(state, *one);      // before the boats, whose speeds the scene computes itself
        one->setmode(MODE_SKYNAMES);   // five boats, three with names and two with the fallback name
        run(*one, SKYNAMES_TICKS);

        SCENE* two = new SCENE(2);
        two->run(true);
        two->setmode(MODE_WANDER);
        run(*two, KITCHEN_TICKS);      // cereal, stone specks, sky specks of the core
        ENTITY* fridge = first_of(two->structures, TYPE_FRIDGE);
        ASSERT_NE(fridge, nullptr);
        const std::size_t actors = two->actors->entities.size();
        look_at(*two, fridge);
        run(*two, AFTER_FRIDGE_TICKS);   // a sock comes out of the fridge; the scroll text at tick 500
        EXPECT_GT(two->actors->entities.size(), actors + 1);
        scene_state(state, *two);
        trace = capture.text();
        release_scene(one);
        release_scene(two);
    }
    EXPECT_EQ(count_occurrences(trace, "SKYBOAT ("), 5);
    for (const char* made : {"SPAWN SOCK", "NEW PIPE", "NEW: y ", "CEREAL "})
        EXPECT_GT(count_occurrences(trace, made), 0) << made;
    expect_outcome(outcome(trace, state), for_profile({{"sd", {1233141, 0x44b041fb263a02a9ull, 0x648419960f273490ull}},
                                                       {"hd", {1233141, 0x44b041fb263a02a9ull, 0xafd34df9ec8e7e48ull}}}));
}

}  // namespace
