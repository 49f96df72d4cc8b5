// The browser build's mixer arithmetic: sounds brought to the output format, clipping, the level
// and the effect channels' allocation and release.
#include "mix_core.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int16_t LOUD = 30000;   // two of these overflow 16 bits

TEST(ConvertSound, MonoAtHalfTheRateBecomesStereoAtHalfTheLength)
{
    const std::vector<int16_t> mono = {0, 100, 200, 300, 400, 500, 600, 700};
    const std::vector<int16_t> out = convert_sound(mono.data(), mono.size(), 1, 22050, 2, 11025);
    const std::vector<int16_t> expected = {0, 0, 200, 200, 400, 400, 600, 600};
    EXPECT_EQ(out, expected);
}

TEST(ConvertSound, UpsamplingInterpolatesBetweenNeighbours)
{
    const std::vector<int16_t> mono = {0, 1000};
    const std::vector<int16_t> out = convert_sound(mono.data(), mono.size(), 1, 11025, 1, 22050);
    // Four output frames cover the two input frames; the last ones hold the final value.
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 500);
    EXPECT_EQ(out[2], 1000);
    EXPECT_EQ(out[3], 1000);
}

TEST(ConvertSound, StereoKeepsItsChannelsApart)
{
    const std::vector<int16_t> stereo = {10, -10, 20, -20};
    const std::vector<int16_t> out = convert_sound(stereo.data(), 2, 2, 22050, 2, 22050);
    EXPECT_EQ(out, stereo);
}

TEST(ConvertSound, NothingToConvertGivesNothing)
{
    const std::vector<int16_t> mono = {1, 2, 3};
    EXPECT_TRUE(convert_sound(nullptr, 3, 1, 22050, 2, 22050).empty());
    EXPECT_TRUE(convert_sound(mono.data(), 0, 1, 22050, 2, 22050).empty());
    EXPECT_TRUE(convert_sound(mono.data(), 3, 0, 22050, 2, 22050).empty());
    EXPECT_TRUE(convert_sound(mono.data(), 3, 1, 0, 2, 22050).empty());
    EXPECT_TRUE(convert_sound(mono.data(), 3, 1, 22050, 2, -1).empty());
}

TEST(MixOnto, SumsClipToTheSixteenBitRange)
{
    std::vector<int16_t> target = {LOUD, -LOUD, 100};
    const std::vector<int16_t> source = {LOUD, -LOUD, -300};
    mix_onto(target.data(), source.data(), target.size());
    const std::vector<int16_t> expected = {32767, -32768, -200};
    EXPECT_EQ(target, expected);
}

TEST(SoundLevel, IsTheRootMeanSquareAsAShareOfFullScale)
{
    const std::vector<int16_t> square = {16384, -16384, 16384, -16384};
    EXPECT_DOUBLE_EQ(sound_level(square.data(), square.size()), 0.5);
    const std::vector<int16_t> silence(64, 0);
    EXPECT_EQ(sound_level(silence.data(), silence.size()), 0.0);
    EXPECT_EQ(sound_level(nullptr, 0), 0.0);
}

TEST(EffectChannels, AnEffectPlaysOnceFromStartToEndAndFreesItsChannel)
{
    const std::vector<int16_t> effect = {1, 2, 3, 4, 5};
    EffectChannels channels;
    EXPECT_EQ(channels.start(&effect), 0);
    std::vector<int16_t> first(3, 10);
    channels.mix(first.data(), first.size());
    EXPECT_EQ(first, (std::vector<int16_t>{11, 12, 13}));
    EXPECT_EQ(channels.playing(), 1);
    std::vector<int16_t> second(3, 0);
    channels.mix(second.data(), second.size());
    EXPECT_EQ(second, (std::vector<int16_t>{4, 5, 0}));
    EXPECT_EQ(channels.playing(), 0);
}

TEST(EffectChannels, ANinthEffectAtOnceIsDroppedUntilAChannelFrees)
{
    const std::vector<int16_t> long_effect(100, 1);
    const std::vector<int16_t> short_effect = {7};
    EffectChannels channels;
    for (int c = 0; c < MIX_EFFECT_CHANNELS - 1; ++c)
        EXPECT_EQ(channels.start(&long_effect), c);
    EXPECT_EQ(channels.start(&short_effect), MIX_EFFECT_CHANNELS - 1);
    EXPECT_EQ(channels.start(&long_effect), -1);
    std::vector<int16_t> out(1, 0);
    channels.mix(out.data(), out.size());
    EXPECT_EQ(out[0], 7 + (MIX_EFFECT_CHANNELS - 1));
    EXPECT_EQ(channels.start(&long_effect), MIX_EFFECT_CHANNELS - 1);
}

TEST(EffectChannels, NoSoundOrAnEmptyOneTakesNoChannel)
{
    const std::vector<int16_t> empty;
    EffectChannels channels;
    EXPECT_EQ(channels.start(nullptr), -1);
    EXPECT_EQ(channels.start(&empty), -1);
    EXPECT_EQ(channels.playing(), 0);
}

}  // namespace
