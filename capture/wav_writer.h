// A WAV file of signed 16-bit little-endian samples, written as they come; sizes filled in at the end.
#ifndef WAV_WRITER_H
#define WAV_WRITER_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

constexpr int WAV_HEADER_BYTES = 44;   // RIFF header, "fmt " chunk of PCM, "data" chunk header

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Creates the file at `path` for `rate` Hz and `channels` channels; false if it cannot be written.
    bool open(const std::string& path, int rate, int channels);

    // Appends interleaved samples already in little-endian order; false if writing fails.
    bool append(const std::vector<int16_t>& samples);

    // Fills in the sizes and closes the file; false if that fails.
    bool close();

private:
    // Writes the header for `data_bytes` bytes of samples at the start of the file.
    bool write_header(uint32_t data_bytes);

    FILE* file = nullptr;
    int rate = 0;
    int channels = 0;
    uint32_t data_bytes = 0;
};

#endif
