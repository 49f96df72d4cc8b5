// Ogg Vorbis encoding of a mono signal, through libvorbisenc.
#ifndef SOUND_VORBIS_H
#define SOUND_VORBIS_H

#include <cstdint>
#include <vector>

// Encodes `signal` (samples in [-1, 1] at `sample_rate` Hz, one channel) as a complete
// Ogg Vorbis file; the same signal always gives the same bytes. Empty on encoder failure.
std::vector<uint8_t> encode_ogg_vorbis(const std::vector<double>& signal, int sample_rate);

#endif
