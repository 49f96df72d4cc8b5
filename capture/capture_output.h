// Where the capture goes: a video through ffmpeg, or a folder of numbered PNG frames and a WAV.
//
// A video is made in two steps. While the show runs, its raw RGB frames are piped to ffmpeg, which
// encodes them to H.264 in a temporary file, and the sound goes to a temporary WAV beside it. At the
// end a second ffmpeg run copies the picture and encodes the sound to AAC into a file beside the
// asked-for one, which it replaces only once whole: a failed capture leaves an earlier file as it was.
#ifndef CAPTURE_OUTPUT_H
#define CAPTURE_OUTPUT_H

#include "capture_options.h"
#include "child_process.h"
#include "wav_writer.h"

#include <cstdint>
#include <string>
#include <vector>

class CaptureOutput {
public:
    CaptureOutput(const CaptureOptions& options, int width, int height);
    ~CaptureOutput();
    CaptureOutput(const CaptureOutput&) = delete;
    CaptureOutput& operator=(const CaptureOutput&) = delete;

    // Checks, before the show starts, that the output can be written and that ffmpeg is there
    // when a video is asked for; false with error() set.
    bool check();

    // Opens the sound file and, for a video, starts the encoder; false with error() set.
    bool open(int audio_rate, int audio_channels);

    // Adds the next frame (RGB rows, top first); false with error() set.
    bool add_frame(const std::vector<uint8_t>& rgb);

    // Adds the next sound samples (interleaved, signed 16-bit little-endian); false with error() set.
    bool add_sound(const std::vector<int16_t>& samples);

    // Finishes the files; for a video, muxes picture and sound into the output; false with error() set.
    bool finish();

    // Why the last call failed.
    const std::string& error() const;

private:
    // The path of file `name` in the frame folder.
    std::string in_folder(const std::string& name) const;
    // Creates the frame folder if it does not exist yet.
    bool make_frame_folder();
    // Whether an existing frame folder holds nothing but an earlier capture's files, no more frames
    // than this one writes, which may be overwritten; false with error() set, naming a file that
    // must not be overwritten or must not stay.
    bool holds_only_captures();
    // Whether a file can be created at `path` (a probe file that is removed again).
    bool can_create(const std::string& path);
    // Starts ffmpeg encoding raw frames from its standard input into the temporary video.
    bool start_encoder();
    // Puts the temporary video and sound together into the output.
    bool mux();
    // Deletes the temporary files of a video.
    void remove_temporaries();
    // Records `message` as the error and returns false.
    bool failed(const std::string& message);

    CaptureOptions options;
    int width;
    int height;
    long frames = 0;
    WavWriter sound;
    ChildProcess encoder;
    std::string picture_path;   // a video's temporary H.264 picture
    std::string sound_path;     // the WAV: temporary for a video, audio.wav in a frame folder
    std::string partial_path;   // a video being muxed, beside the output: it replaces the output only whole
    std::string last_error;
};

#endif
