/* The Ogg Vorbis decoder of the browser build: Debian's stb_vorbis (package libstb-dev), compiled here. */
#include "stb_vorbis.h"
