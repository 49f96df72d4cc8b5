// The show's sounds: three Ogg Vorbis effects and the XM song, all synthesised here.
#include "assets.h"
#include "showfiles.h"

#include "sound_effects.h"
#include "sound_song.h"
#include "sound_vorbis.h"
#include "xm_module.h"

#include <array>
#include <cstdio>

namespace {

// Writes `bytes` to `path`; on failure says so on standard error.
bool write_file(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0)
        written = false;
    if (!written)
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
    return written;
}

// Encodes one effect and writes it to `path` under the run folder.
bool write_effect(const std::string& outdir, const char* path, const std::vector<double>& signal)
{
    return write_file(outdir + "/" + path, encode_ogg_vorbis(signal, EFFECT_RATE));
}

}  // namespace

bool write_sounds(const std::string& outdir)
{
    // The show's effects in its order: the future yell, the AUAU yell, the VLERVELER call.
    const std::array<std::vector<double> (*)(), EFFECT_FILES.size()> effects = {make_future_yell, make_auau_yell,
                                                                                make_vlerveler_call};
    for (size_t i = 0; i < effects.size(); ++i)
        if (!write_effect(outdir, EFFECT_FILES[i], effects[i]()))
            return false;
    return write_file(outdir + "/" + SONG_FILE, encode_xm(make_towers_song()));
}
