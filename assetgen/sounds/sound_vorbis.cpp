#include "sound_vorbis.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {

constexpr float VORBIS_QUALITY = 0.5f;    // -0.1 to 1: 0.5 keeps the hiss and buzz crisp at a few kB a second
constexpr int STREAM_SERIAL = 0x51AC;     // fixed Ogg stream serial number, so the bytes never vary
constexpr int FEED_FRAMES = 1024;         // samples handed to the encoder at a time

// Everything libvorbis needs while one stream is encoded, released in reverse order.
struct VorbisEncoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool ready = false;

    // Sets up a mono variable-bitrate encoder; `ready` tells whether libvorbis accepted the settings.
    explicit VorbisEncoder(int sample_rate)
    {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
        if (vorbis_encode_init_vbr(&info, 1, sample_rate, VORBIS_QUALITY) != 0)
            return;
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, STREAM_SERIAL);
        ready = true;
    }
    // Releases whatever the constructor set up.
    ~VorbisEncoder()
    {
        if (ready) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;
};

// Appends one finished Ogg page to `out`.
void append_page(const ogg_page& page, std::vector<uint8_t>& out)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// Writes the three Vorbis header packets, flushed onto pages of their own as the format asks.
void write_headers(VorbisEncoder& encoder, std::vector<uint8_t>& out)
{
    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&encoder.dsp, &encoder.comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&encoder.stream, &identification);
    ogg_stream_packetin(&encoder.stream, &comments);
    ogg_stream_packetin(&encoder.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&encoder.stream, &page) != 0)
        append_page(page, out);
}

// Encodes every block the encoder has ready and appends the pages that fill up.
void drain_blocks(VorbisEncoder& encoder, std::vector<uint8_t>& out)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&encoder.dsp, &encoder.block) == 1) {
        vorbis_analysis(&encoder.block, nullptr);
        vorbis_bitrate_addblock(&encoder.block);
        while (vorbis_bitrate_flushpacket(&encoder.dsp, &packet) == 1) {
            ogg_stream_packetin(&encoder.stream, &packet);
            while (ogg_stream_pageout(&encoder.stream, &page) != 0)
                append_page(page, out);
        }
    }
}

// Hands up to FEED_FRAMES samples from `first` to the encoder; zero samples marks the end.
void feed(VorbisEncoder& encoder, const double* first, int count)
{
    float** buffer = vorbis_analysis_buffer(&encoder.dsp, FEED_FRAMES);
    for (int i = 0; i < count; ++i)
        buffer[0][i] = static_cast<float>(first[i]);
    vorbis_analysis_wrote(&encoder.dsp, count);
}

// Writes whatever the stream still holds, down to its last page.
void flush_stream(VorbisEncoder& encoder, std::vector<uint8_t>& out)
{
    ogg_page page;
    while (ogg_stream_flush(&encoder.stream, &page) != 0)
        append_page(page, out);
}

}  // namespace

std::vector<uint8_t> encode_ogg_vorbis(const std::vector<double>& signal, int sample_rate)
{
    std::vector<uint8_t> out;
    VorbisEncoder encoder(sample_rate);
    if (!encoder.ready)
        return out;
    write_headers(encoder, out);
    const int length = static_cast<int>(signal.size());
    for (int at = 0; at < length; at += FEED_FRAMES) {
        feed(encoder, signal.data() + at, std::min(FEED_FRAMES, length - at));
        drain_blocks(encoder, out);
    }
    feed(encoder, nullptr, 0);
    drain_blocks(encoder, out);
    flush_stream(encoder, out);
    return out;
}
