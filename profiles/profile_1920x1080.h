// Screen profile of `demo-hd`: a 1920 x 1080 full-screen window.
#ifndef PROFILE_1920X1080_H
#define PROFILE_1920X1080_H

constexpr int SCREEN_WIDTH = 1920;      // video mode width, right edge of the projection
constexpr int SCREEN_HEIGHT = 1080;     // video mode height, bottom edge of the projection
constexpr int SCREEN_BPP = 32;          // colour depth of the video mode
constexpr float HALF_WIDTH = 960.0f;    // screen x of the planet centre
constexpr float HALF_HEIGHT = 540.0f;   // screen y of the backdrop's centre
constexpr int GRID_COLUMNS = 19;        // 100-px columns of the backdrop spawners' grid
constexpr int GRID_ROWS = 10;           // 100-px rows of the same grid

#endif
