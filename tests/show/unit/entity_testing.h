// Helpers shared by the entity, swarm and font tests: building entities, seeding the
// generator, observing which effect plays, and installing a known dot font.
#ifndef ENTITY_TESTING_H
#define ENTITY_TESTING_H

#include "entity.h"
#include "entityswarm.h"
#include "gfx.h"
#include "host_services.h"
#include "native_sound.h"
#include "scene.h"
#include "sound.h"

#include <SDL/SDL.h>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Releases the scene's layers and every entity in them; the show's own scenes never go.
inline void release_layers(SCENE& scene)
{
    for (const SceneLayer& layer : DRAWING_ORDER)
        delete (scene.*layer.swarm);
}

// Releases a scene built with new, with its layers and entities.
inline void release_scene(SCENE* scene)
{
    release_layers(*scene);
    delete scene;
}

// An empty scene (no planet built) as the root of a test's entity trees; unlike the
// show's scenes it releases its layers, and every entity in them, when the test ends.
class TestScene {
public:
    SCENE scene{3};
    TestScene() = default;
    ~TestScene() { release_layers(scene); }
    TestScene(const TestScene&) = delete;
    TestScene& operator=(const TestScene&) = delete;
};

// Builds an entity of `type` at (x, y), hands it to `swarm` and returns it (null if the swarm is full).
inline ENTITY* add_new(ENTITYSWARM* swarm, float x, float y, int type, float vx = 0, const std::string& text = NO_TEXT)
{
    return swarm->spawn(swarm->owner, x, y, type, vx, text);
}

// Builds an entity of `type` into the child swarm of `owner` and returns it.
inline ENTITY* add_child_of(ENTITY* owner, float x, float y, int type)
{
    return add_new(owner->children, x, y, type);
}

// The first seed from 1 upward after which `draws` (reading the generator) holds.
inline unsigned seed_where(const std::function<bool()>& draws)
{
    for (unsigned seed = 1;; ++seed) {
        seed_show_random(seed);
        if (draws())
            return seed;
    }
}

// Seeds the generator so that its next draw leaves `residue` modulo `n`.
inline void seed_next_residue(int n, int residue)
{
    seed_show_random(seed_where([&] { return show_rand() % n == residue; }));
}

// Opens audio on the dummy driver and puts three long silent effects in place of the
// show's, so that a test can see which effect index a call started.
class SoundProbe {
public:
    SoundProbe() : saved(sounds)
    {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        SDL_InitSubSystem(SDL_INIT_AUDIO);
        opened = Mix_OpenAudio(AUDIO_RATE, AUDIO_FORMAT, AUDIO_CHANNELS, AUDIO_CHUNK) == 0;
        sounds.clear();
        for (auto& buffer : silence) {
            buffer.assign(SILENCE_BYTES, 0);
            sounds.push_back(new SoundEffect{Mix_QuickLoad_RAW(buffer.data(), SILENCE_BYTES)});
        }
    }
    ~SoundProbe()
    {
        Mix_HaltChannel(-1);
        for (SoundEffect* effect : sounds) {
            Mix_FreeChunk(effect->chunk);
            delete effect;
        }
        sounds = saved;
        if (opened)
            Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    SoundProbe(const SoundProbe&) = delete;
    SoundProbe& operator=(const SoundProbe&) = delete;

    // Whether the dummy audio device opened; without it nothing can play.
    bool ready() const { return opened; }

    // The effect indices playing now, one per busy channel.
    std::vector<int> playing() const
    {
        std::vector<int> indices;
        for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
            for (int index = 0; index < static_cast<int>(sounds.size()); ++index)
                if (Mix_Playing(channel) && Mix_GetChunk(channel) == sounds[index]->chunk)
                    indices.push_back(index);
        return indices;
    }

    // Stops every effect, so the next observation sees only what follows.
    void silence_all() const { Mix_HaltChannel(-1); }

private:
    static constexpr Uint32 SILENCE_BYTES = 11025 * 4 * 10;   // ten seconds of 16-bit stereo: still playing when looked at
    std::vector<SoundEffect*> saved;
    std::vector<Uint8> silence[3];   // one buffer per effect index the show uses
    bool opened = false;
};

// A 32-bit ARGB surface of the given size, all pixels transparent black; the caller frees it.
inline SDL_Surface* blank_font_image(int width, int height)
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
}

// Sets pixel (x, y) of a 32-bit surface to the raw value `pixel`.
inline void put_pixel(SDL_Surface* image, int x, int y, Uint32 pixel)
{
    Uint8* row = static_cast<Uint8*>(image->pixels) + y * image->pitch;
    std::memcpy(row + x * 4, &pixel, sizeof pixel);
}

constexpr Uint32 OPAQUE_WHITE = 0xFFFFFFFF;   // the one pixel value that is a dot

// Replaces the global font by `glyphs` while it lives, then puts the old glyphs back.
class FontSwap {
public:
    explicit FontSwap(std::vector<DOTCHAR> glyphs) : saved(std::move(cloudfont.chars))
    {
        cloudfont.chars = std::move(glyphs);
    }
    ~FontSwap() { cloudfont.chars = std::move(saved); }
    FontSwap(const FontSwap&) = delete;
    FontSwap& operator=(const FontSwap&) = delete;

private:
    std::vector<DOTCHAR> saved;
};

// `count` glyphs whose every dot is set.
inline std::vector<DOTCHAR> solid_glyphs(int count)
{
    DOTCHAR solid;
    for (auto& column : solid.dots)
        for (bool& dot : column)
            dot = true;
    return std::vector<DOTCHAR>(count, solid);
}

#endif
