// Screen profile of `demo`: a 1024 x 768 full-screen window.
#ifndef PROFILE_1024X768_H
#define PROFILE_1024X768_H

constexpr int SCREEN_WIDTH = 1024;      // video mode width, right edge of the projection
constexpr int SCREEN_HEIGHT = 768;      // video mode height, bottom edge of the projection
constexpr int SCREEN_BPP = 32;          // colour depth of the video mode
constexpr float HALF_WIDTH = 512.0f;    // screen x of the planet centre
constexpr float HALF_HEIGHT = 384.0f;   // screen y of the backdrop's centre
constexpr int GRID_COLUMNS = 10;        // 100-px columns of the backdrop spawners' grid
constexpr int GRID_ROWS = 7;            // 100-px rows of the same grid

#endif
