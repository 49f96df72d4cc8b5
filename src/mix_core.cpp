#include "mix_core.h"

#include <algorithm>
#include <cmath>
#include <limits>

constexpr int SAMPLE_MIN = std::numeric_limits<int16_t>::min();   // clipping bounds of a 16-bit sample
constexpr int SAMPLE_MAX = std::numeric_limits<int16_t>::max();
constexpr double FULL_SCALE = 32768.0;                             // the magnitude a level of 1 stands for

// The sample of channel `channel` at the fractional frame position `position`, interpolated linearly.
static double sample_at(const int16_t* samples, size_t frames, int channels, int channel, double position)
{
    const size_t first = static_cast<size_t>(position);
    const size_t second = std::min(first + 1, frames - 1);
    const double share = position - static_cast<double>(first);
    const double a = samples[first * channels + channel];
    const double b = samples[second * channels + channel];
    return a + (b - a) * share;
}

std::vector<int16_t> convert_sound(const int16_t* samples, size_t frames, int in_channels, int in_rate,
                                   int out_channels, int out_rate)
{
    std::vector<int16_t> out;
    if (!samples || frames == 0 || in_channels <= 0 || in_rate <= 0 || out_channels <= 0 || out_rate <= 0)
        return out;
    const double step = static_cast<double>(in_rate) / out_rate;
    const size_t out_frames = static_cast<size_t>(std::floor(frames / step));
    out.reserve(out_frames * out_channels);
    for (size_t f = 0; f < out_frames; ++f) {
        const double position = f * step;
        for (int c = 0; c < out_channels; ++c) {
            const int from = in_channels == 1 ? 0 : std::min(c, in_channels - 1);
            out.push_back(static_cast<int16_t>(std::lround(sample_at(samples, frames, in_channels, from, position))));
        }
    }
    return out;
}

void mix_onto(int16_t* target, const int16_t* source, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        target[i] = static_cast<int16_t>(std::clamp(int(target[i]) + int(source[i]), SAMPLE_MIN, SAMPLE_MAX));
}

double sound_level(const int16_t* samples, size_t count)
{
    if (count == 0)
        return 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < count; ++i)
        sum += double(samples[i]) * samples[i];
    return std::sqrt(sum / count) / FULL_SCALE;
}

int EffectChannels::start(const std::vector<int16_t>* sound)
{
    if (!sound || sound->empty())
        return -1;
    for (int c = 0; c < MIX_EFFECT_CHANNELS; ++c) {
        if (!channels[c].sound) {
            channels[c] = Channel{sound, 0};
            return c;
        }
    }
    return -1;
}

void EffectChannels::mix(int16_t* target, size_t count)
{
    for (Channel& channel : channels) {
        if (!channel.sound)
            continue;
        const size_t left = channel.sound->size() - channel.at;
        const size_t now = std::min(left, count);
        mix_onto(target, channel.sound->data() + channel.at, now);
        channel.at += now;
        if (channel.at == channel.sound->size())
            channel = Channel{};
    }
}

int EffectChannels::playing() const
{
    return static_cast<int>(std::count_if(std::begin(channels), std::end(channels),
                                          [](const Channel& c) { return c.sound != nullptr; }));
}
