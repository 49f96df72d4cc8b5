/* The PNG decoder of the browser build: Debian's stb_image (package libstb-dev), compiled here. */
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include "stb_image.h"
