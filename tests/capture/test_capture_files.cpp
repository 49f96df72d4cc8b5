// The capture's timing of sound and its files: sample frames per tick, the WAV, PNG frames, progress.
#include "progress.h"
#include "rgb_frame.h"
#include "ticks.h"
#include "wav_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <png.h>
#include <unistd.h>

namespace {

constexpr int SHOW_RATE = 11025;     // the mixer's rate in the show
constexpr int CD_RATE = 44100;       // a rate that divides evenly by 60, for contrast
constexpr long LONG_SHOW = 2160000;  // ten hours of ticks: no drift may build up

// A file name in the test's temporary folder, removed again when the test ends.
class TempFile {
public:
    explicit TempFile(const std::string& name) : path("/tmp/capture-unit-" + std::to_string(getpid()) + "-" + name) {}
    ~TempFile() { std::remove(path.c_str()); }
    const std::string path;
};

// Every byte of the file at `path`.
std::vector<uint8_t> file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The little-endian value of `count` bytes at `at`.
uint32_t le(const std::vector<uint8_t>& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes.at(at + i);
    return value;
}

TEST(TickSound, EachTickHoldsItsShareWithTheFractionCarried)
{
    long total = 0;
    for (long tick = 0; tick < 60; ++tick) {
        const int frames = sample_frames_for_tick(tick, SHOW_RATE);
        EXPECT_TRUE(frames == 183 || frames == 184) << "tick " << tick;
        total += frames;
    }
    EXPECT_EQ(total, SHOW_RATE);
    EXPECT_EQ(sample_frames_for_tick(0, CD_RATE), 735);
    EXPECT_EQ(sample_frames_for_tick(12345, CD_RATE), 735);
}

TEST(TickSound, TicksLineUpWithTheTrackWithoutDrift)
{
    EXPECT_EQ(first_sample_frame_of_tick(300, SHOW_RATE), 55125);   // five seconds
    EXPECT_EQ(first_sample_frame_of_tick(LONG_SHOW, SHOW_RATE), LONG_SHOW / 60 * SHOW_RATE);
    EXPECT_EQ(first_sample_frame_of_tick(15001, SHOW_RATE) - first_sample_frame_of_tick(15000, SHOW_RATE),
              sample_frames_for_tick(15000, SHOW_RATE));
}

TEST(WavWriter, WritesAPcmHeaderWhoseSizesMatchTheSamples)
{
    TempFile wav("sound.wav");
    WavWriter writer;
    ASSERT_TRUE(writer.open(wav.path, SHOW_RATE, 2));
    ASSERT_TRUE(writer.append({1, -1, 2, -2}));
    ASSERT_TRUE(writer.append({0x1234, -32768}));
    ASSERT_TRUE(writer.close());
    const std::vector<uint8_t> bytes = file_bytes(wav.path);
    ASSERT_EQ(bytes.size(), static_cast<size_t>(WAV_HEADER_BYTES + 12));
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(le(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le(bytes, 20, 2), 1u);                  // PCM
    EXPECT_EQ(le(bytes, 22, 2), 2u);                  // channels
    EXPECT_EQ(le(bytes, 24, 4), 11025u);              // rate
    EXPECT_EQ(le(bytes, 28, 4), 11025u * 4);          // bytes per second
    EXPECT_EQ(le(bytes, 32, 2), 4u);                  // bytes per sample frame
    EXPECT_EQ(le(bytes, 34, 2), 16u);                 // bits per sample
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    EXPECT_EQ(le(bytes, 40, 4), 12u);
    EXPECT_EQ(le(bytes, 44 + 8, 2), 0x1234u);
    EXPECT_EQ(le(bytes, 44 + 10, 2), 0x8000u);
}

TEST(WavWriter, RefusesAnUnwritablePath)
{
    WavWriter writer;
    EXPECT_FALSE(writer.open("/nonexistent-folder/sound.wav", SHOW_RATE, 2));
    EXPECT_FALSE(writer.append({1, 2}));
}

TEST(RgbFrame, FlippingTurnsRowsUpsideDown)
{
    std::vector<uint8_t> three_rows = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    flip_rows(three_rows, 3);
    EXPECT_EQ(three_rows, (std::vector<uint8_t>{7, 8, 9, 4, 5, 6, 1, 2, 3}));
    std::vector<uint8_t> two_rows = {1, 2, 3, 4};
    flip_rows(two_rows, 2);
    EXPECT_EQ(two_rows, (std::vector<uint8_t>{3, 4, 1, 2}));
}

TEST(RgbFrame, PngFramesReadBackPixelForPixel)
{
    TempFile png("frame.png");
    const int width = 3;
    const int height = 2;
    std::vector<uint8_t> rgb;
    for (int i = 0; i < width * height * RGB_BYTES; ++i)
        rgb.push_back(static_cast<uint8_t>(i * 13));
    ASSERT_TRUE(write_png_frame(png.path, rgb, width, height));
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, png.path.c_str()));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> back(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, back.data(), 0, nullptr));
    EXPECT_EQ(back, rgb);
    EXPECT_FALSE(write_png_frame("/nonexistent-folder/frame.png", rgb, width, height));
}

TEST(RgbFrame, FrameNamesSortInCaptureOrder)
{
    EXPECT_EQ(png_frame_name(0), "frame-000000.png");
    EXPECT_EQ(png_frame_name(299), "frame-000299.png");
    EXPECT_LT(png_frame_name(99999), png_frame_name(100000));
}

TEST(Progress, ShowTimeCountsMinutesSecondsAndHundredths)
{
    EXPECT_EQ(show_time(0), "0:00.00");
    EXPECT_EQ(show_time(30), "0:00.50");
    EXPECT_EQ(show_time(15000), "4:10.00");
    EXPECT_EQ(show_time(3600 + 59 * 60 + 59), "1:59.98");
}

TEST(Progress, TheLineShowsBarFramesShowTimeAndSpeed)
{
    const std::string half = progress_line(150, 300, 15150, 30.0);
    EXPECT_NE(half.find("[############------------]"), std::string::npos) << half;
    EXPECT_NE(half.find("150/300 frames"), std::string::npos);
    EXPECT_NE(half.find("show 4:12.50"), std::string::npos);
    EXPECT_NE(half.find("30.0 fps (0.50x real time)"), std::string::npos);
    EXPECT_NE(progress_line(300, 300, 300, 60.0).find("[########################]"), std::string::npos);
}

TEST(Progress, TheSummaryGivesFramesPerSecondAndTheUndrawnRun)
{
    const std::string plain = speed_summary(300, 0, 10.0, 0.0);
    EXPECT_NE(plain.find("captured 300 frames (show 0:00.00 to 0:05.00) in 10.00 s"), std::string::npos) << plain;
    EXPECT_NE(plain.find("30.0 frames per second (0.50x real time)"), std::string::npos);
    EXPECT_EQ(plain.find("undrawn"), std::string::npos);
    const std::string skipped = speed_summary(60, 15000, 1.0, 2.5);
    EXPECT_NE(skipped.find("the 15000 ticks before ran undrawn in 2.50 s"), std::string::npos) << skipped;
}

}  // namespace
