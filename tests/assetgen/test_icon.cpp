// The desktop icon the generator draws for the installed show: one picture per icon-theme size,
// of that size, a round patch of night sky (clear corners, so it sits on any menu's background)
// with the coral sock in the middle, large enough to read at the smallest size.
#include <gtest/gtest.h>

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int ICON_SIZES[] = {48, 128, 192, 256, 512};   // the sizes the desktop entry's theme folders and the web page hold
constexpr int CLEAR = 0;                        // alpha of a pixel the menu shows through
constexpr int OPAQUE = 255;
constexpr double MIN_SOCK_SHARE = 0.07;         // of the icon's pixels in coral: the sock's body, less its stripes,
                                                // cuff and face, is about a tenth of the icon

using Surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

// The pixel at (x, y) of a 32-bit surface as red, green, blue and alpha.
SDL_Color pixel_at(SDL_Surface* surface, int x, int y)
{
    const Uint32 raw = static_cast<const Uint32*>(surface->pixels)[y * surface->pitch / 4 + x];
    SDL_Color colour;
    SDL_GetRGBA(raw, surface->format, &colour.r, &colour.g, &colour.b, &colour.unused);
    return colour;
}

// Whether a colour is the sock's coral: strong red, weaker green and blue.
bool is_coral(SDL_Color c)
{
    return c.unused == OPAQUE && c.r > 200 && c.g > 80 && c.g < 150 && c.b > 80 && c.b < 150;
}

// Runs the generator's icon mode into a fresh folder and returns the folder.
class IconFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = fs::temp_directory_path() / ("assetgen-icons-" + std::to_string(getpid()));
        fs::remove_all(folder);
        status = std::system((std::string(ASSETGEN_PATH) + " --icons " + folder.string()).c_str());
    }
    static void TearDownTestSuite() { fs::remove_all(folder); }

    static Surface load(int size)
    {
        const std::string side = std::to_string(size);
        const fs::path file = folder / (side + "x" + side) / "apps" / "quoravint.png";
        SDL_Surface* image = IMG_Load(file.c_str());
        if (!image)
            return Surface(nullptr, SDL_FreeSurface);
        SDL_PixelFormat rgba = *image->format;
        return Surface(SDL_ConvertSurface(image, &rgba, SDL_SWSURFACE), SDL_FreeSurface);
    }

    static inline fs::path folder;
    static inline int status = -1;
};

TEST_F(IconFolder, EverySizeIsARoundSkyWithTheSockInIt)
{
    ASSERT_EQ(status, 0);
    for (int size : ICON_SIZES) {
        SCOPED_TRACE("icon of " + std::to_string(size) + " px");
        const Surface icon = load(size);
        ASSERT_TRUE(icon) << IMG_GetError();
        ASSERT_EQ(icon->format->BytesPerPixel, 4);
        EXPECT_EQ(icon->w, size);
        EXPECT_EQ(icon->h, size);
        for (int corner_x : {0, size - 1})
            for (int corner_y : {0, size - 1})
                EXPECT_EQ(pixel_at(icon.get(), corner_x, corner_y).unused, CLEAR);
        EXPECT_EQ(pixel_at(icon.get(), size / 10, size / 2).unused, OPAQUE) << "the disc reaches near the edge";
        int coral = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                coral += is_coral(pixel_at(icon.get(), x, y));
        EXPECT_GT(coral, MIN_SOCK_SHARE * size * size);
    }
}

TEST(IconGenerator, AFolderThatCannotBeMadeIsAFailureNotACrash)
{
    const std::string command = std::string(ASSETGEN_PATH) + " --icons /proc/no-icons-here 2>/dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

}  // namespace
