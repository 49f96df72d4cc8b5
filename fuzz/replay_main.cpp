// Replays fuzz inputs through a fuzz target without libFuzzer: every file named, and every
// file of every folder named, once each. A fault aborts the run (the sanitizers report it).
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

namespace {

// Runs the target on the whole content of `file`.
void replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

// The files named by `path`: itself, or a folder's regular files.
std::vector<std::filesystem::path> inputs_of(const std::filesystem::path& path)
{
    if (!std::filesystem::is_directory(path))
        return {path};
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    return files;
}

}

// Usage: replay-<target> <file or folder>...; fails when nothing was replayed.
int main(int argc, char** argv)
{
    long replayed = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::exists(argv[i])) {
            std::fprintf(stderr, "no such input: %s\n", argv[i]);
            return 1;
        }
        for (const auto& file : inputs_of(argv[i])) {
            replay(file);
            ++replayed;
        }
    }
    std::fprintf(stderr, "replayed %ld inputs\n", replayed);
    return replayed > 0 ? 0 : 1;
}
