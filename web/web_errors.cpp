// SDL's error text, kept as SDL 1.2 keeps it. Emscripten's SDL drops every error set and always
// answers "unknown SDL-emscripten error", which would put a false error into the show's trace.
#include <SDL/SDL.h>

#include <cstdarg>
#include <cstdio>

namespace {

constexpr size_t ERROR_LENGTH = 1024;   // SDL 1.2's own limit on an error message
char error_text[ERROR_LENGTH] = "";     // empty until something fails, as natively

}  // namespace

// Sets the error text from a printf format.
extern "C" void SDL_SetError(const char* format, ...)
{
    va_list values;
    va_start(values, format);
    std::vsnprintf(error_text, sizeof error_text, format, values);
    va_end(values);
}

// The last error text set, or an empty text.
extern "C" const char* SDL_GetError()
{
    return error_text;
}

// Forgets the last error.
extern "C" void SDL_ClearError()
{
    error_text[0] = '\0';
}
