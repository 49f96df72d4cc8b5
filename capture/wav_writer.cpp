#include "wav_writer.h"

namespace {

constexpr uint16_t PCM_FORMAT = 1;         // WAVE_FORMAT_PCM
constexpr uint16_t BITS_PER_SAMPLE = 16;   // the mixer's signed 16-bit samples
constexpr uint32_t FMT_CHUNK_BYTES = 16;   // size of the PCM "fmt " chunk body
constexpr uint32_t RIFF_BYTES_BEFORE_DATA = 36;   // "WAVE" + "fmt " chunk + "data" chunk header

// Appends `value` to `out` as `bytes` little-endian bytes.
void put_le(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// Appends the four characters of `tag`.
void put_tag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

}  // namespace

WavWriter::~WavWriter()
{
    close();
}

bool WavWriter::open(const std::string& path, int rate, int channels)
{
    close();
    file = std::fopen(path.c_str(), "wb");
    this->rate = rate;
    this->channels = channels;
    data_bytes = 0;
    return file && write_header(0);
}

bool WavWriter::write_header(uint32_t data_bytes)
{
    const uint16_t block = static_cast<uint16_t>(channels * BITS_PER_SAMPLE / 8);
    std::vector<uint8_t> header;
    put_tag(header, "RIFF");
    put_le(header, RIFF_BYTES_BEFORE_DATA + data_bytes, 4);
    put_tag(header, "WAVE");
    put_tag(header, "fmt ");
    put_le(header, FMT_CHUNK_BYTES, 4);
    put_le(header, PCM_FORMAT, 2);
    put_le(header, static_cast<uint32_t>(channels), 2);
    put_le(header, static_cast<uint32_t>(rate), 4);
    put_le(header, static_cast<uint32_t>(rate) * block, 4);
    put_le(header, block, 2);
    put_le(header, BITS_PER_SAMPLE, 2);
    put_tag(header, "data");
    put_le(header, data_bytes, 4);
    return std::fseek(file, 0, SEEK_SET) == 0 && std::fwrite(header.data(), 1, header.size(), file) == header.size();
}

bool WavWriter::append(const std::vector<int16_t>& samples)
{
    if (!file)
        return false;
    const size_t bytes = samples.size() * sizeof(int16_t);
    data_bytes += static_cast<uint32_t>(bytes);
    return std::fwrite(samples.data(), 1, bytes, file) == bytes;
}

bool WavWriter::close()
{
    if (!file)
        return true;
    const bool ok = write_header(data_bytes) && std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    return ok && closed;
}
