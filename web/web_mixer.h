// The browser's sound (host_services.h): the song played by libxmp, the effects decoded by
// stb_vorbis, both mixed in the callback of Emscripten's SDL_OpenAudio. Emscripten's own SDL_mixer
// hands sounds to the browser to decode, and browsers cannot play XM. What the page asks beyond:
#ifndef WEB_MIXER_H
#define WEB_MIXER_H

// Mixes and drops the sound of show tick `tick`, as the audio device would have played it: the
// ticks run undrawn before the first frame leave the song and the effects where the show has them.
void mixer_skip_tick(long tick);

// The level of the sound mixed last, as a share of full scale (0 before any and while held).
double mixer_level();

// Holds the sound where it is (the device stops asking for more) or lets it play on.
void mixer_hold(bool held);

// Mutes the sound or lets it be heard: muted, the song and effects play on unheard, at level 0.
void mixer_mute(bool muted);

#endif
