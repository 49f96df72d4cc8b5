// The show's sounds: three Ogg Vorbis effects and the XM song, all synthesised here.
#include "assets.h"

#include "sound_effects.h"
#include "sound_song.h"
#include "sound_vorbis.h"
#include "xm_module.h"

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

// Encodes one effect and writes it under sfx/.
bool write_effect(const std::string& outdir, const char* name, const std::vector<double>& signal)
{
    return write_file(outdir + "/sfx/" + name + ".ogg", encode_ogg_vorbis(signal, EFFECT_RATE));
}

}  // namespace

bool write_sounds(const std::string& outdir)
{
    return write_effect(outdir, "future", make_future_yell()) &&
           write_effect(outdir, "AUAUAUAHAHAH", make_auau_yell()) &&
           write_effect(outdir, "VLERVELER", make_vlerveler_call()) &&
           write_file(outdir + "/sfx/towers.xm", encode_xm(make_towers_song()));
}
