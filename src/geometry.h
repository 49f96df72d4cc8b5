// The geometry of the show's worlds: where things stand and how large they are shown. The show
// places its entities with these, the asset generator paints its pictures to fit them, and the
// picture tests measure the pictures against them, so a number changed here is seen by all three.
// The screen profile (the window and the backdrop grid) is not world geometry: see profiles/.
#ifndef GEOMETRY_H
#define GEOMETRY_H

// -- angles -------------------------------------------------------------------------------

constexpr double HALF_TURN = 3.14159265;          // the show's half turn, radians
constexpr double QUARTER_TURN = 1.570796325;      // the show's quarter turn, radians
constexpr double DEGREES_PER_RADIAN = 57.29577957855229;   // 180 / 3.14159265, the show's own half turn
constexpr double FULL_TURN = 6.2831855;           // the show's full turn, for the ground core's speck angles
constexpr double WALK_BOUND = 12.5663706;          // socks turn back beyond four half turns (4 pi)
constexpr int ANGLE_DEGREES = 720;                // random angles are whole degrees over two turns
constexpr double TOWER_MARK = 100.0;              // a sock's angle in hundredths of a radian ...
constexpr int TOWER_MARK_STEP = 10;               // ... must be a multiple of ten to call a tower
constexpr double CLOUD_SPREAD = 18.8495559;       // clouds appear at whole radians below three turns

// -- layers -------------------------------------------------------------------------------

constexpr float BACKDROP_SCALE = 0.8f;            // the flat backdrop layer (its scale is never consulted)
constexpr float FAR_LAYER_SCALE = 0.5f;           // far shrubs and clouds: half the planet's size
constexpr float NEAR_LAYER_SCALE = 0.7f;          // near shrubs and clouds
constexpr float PLANET_LAYER_SCALE = 1.0f;        // the core, the structures and the actors

// -- the camera ---------------------------------------------------------------------------

constexpr float START_CAMANGLE = 1.2f;            // radians: the camera angle a scene starts with
constexpr float START_CAMY = 1000.0f;             // pixels: the camera height a scene starts with, on the ground
constexpr float CAMERA_STEP_PIXELS = 5.0f;        // camera step: this arc length at the camera height
constexpr float CLIMB_MARGIN = 600.0f;            // a climb ends this far below the tower's top

// -- scene 1: the grass planet ------------------------------------------------------------

constexpr float GROUND_RADIUS = 1000.0f;          // radius of the grass ring and the dome floor
constexpr float GRASS_FIRST = -500.0f;            // grass blade counter: first ...
constexpr float GRASS_END = 1000.0f;              // ... and one past the last
constexpr double GRASS_PER_RADIAN = 27.5;         // grass blades per radian of the ring: one every 36 px
constexpr float SOCK_RADIUS = 1200.0f;            // socks walk at this radius, their soles in the grass blades
constexpr float NEAR_SHRUB_RADIUS = 1170.0f;      // near shrubs, their bases under the turf at NEAR_LAYER_SCALE
constexpr float FAR_SHRUB_RADIUS = 1200.0f;       // far shrubs, their bases under the turf at FAR_LAYER_SCALE
constexpr float PLANET_BODY_ZOOM = 10.0f;         // the planet body is drawn ten times its picture's size
constexpr float BACKDROP_ZOOM = 10.0f;            // the sky and stone backdrops, enlarged to fill the screen
constexpr float CLOUD_FULL_ZOOM = 1.0f;           // clouds grow to their picture's own size
constexpr int CLOUD_LOW = 1500;                   // clouds float from this radius ...
constexpr int CLOUD_RANGE = 2000;                 // ... up to this much higher
constexpr int GRID_CELL = 100;                    // pixels of a backdrop spawner's grid cell, one speck each
constexpr float SPECK_PEAK_ZOOM = 1.0f;           // specks grow to their picture's own size

// -- towers -------------------------------------------------------------------------------

constexpr float TOWER_CALL_RISE = 550.0f;         // a called tower starts this far above the sock
constexpr int VACUUM_FIRST = -10;                 // the vacuum ring's towers: first index ...
constexpr int VACUUM_LAST = 29;                   // ... and last ...
constexpr float VACUUM_STEP = 0.5f;               // ... this many radians apart
constexpr float VACUUM_RADIUS = 1800.0f;          // radius the ring's towers start at
constexpr float DOME_FULL_ZOOM = 1.0f;            // a tower's dome is full size at its picture's own size
constexpr float TOWER_FIRST_PIPE_Y = -400.0f;     // the first pipe hangs this far below the dome
constexpr float PIPE_STEP_Y = -250.0f;            // each further pipe this far below the one before
constexpr double PIPE_FULL_ZOOM = 0.6;            // a pipe stops growing at this zoom

// -- text ---------------------------------------------------------------------------------

constexpr float SCROLL_RADIUS = 1400.0f;          // the scroll text travels at this radius, above the socks
constexpr float DOT_SPACING = 16.0f;              // pixels between dots along a text line
constexpr float DOT_ROW_STEP = -14.0f;            // pixels between dot rows, towards the planet centre
constexpr float TEXT_DOT_PEAK_ZOOM = 0.3f;        // text dots pulse up to this zoom, still apart at DOT_SPACING
constexpr float TEXT_DOT_FLOOR = GROUND_RADIUS;   // text dots that sink below the ground vanish

// -- sky boats ----------------------------------------------------------------------------

constexpr float SKYBOAT_LOW = 350.0f;             // the lowest boat flies this far above the camera height
constexpr float SKYBOAT_STACK = 100.0f;           // and each further one this much higher
constexpr double SKYBOAT_FULL_ZOOM = 0.3;         // a sky boat stops growing at this zoom
constexpr float SKYBOAT_HULL_Y = -80.0f;          // hull and oar sit this far below the rower
constexpr float SKYBOAT_LABEL_Y = -120.0f;        // the name label sits this far below the rower
constexpr float LABEL_CELL = 128.0f;              // pixels of one written character along the label

// -- scene 2: the kitchen planet ----------------------------------------------------------

constexpr float FLOOR_FIRST = -250.0f;            // dome floor counter: first ...
constexpr float FLOOR_END = 750.0f;               // ... and one past the last
constexpr double FLOOR_PER_RADIAN = 26.0;         // dome floor pieces per radian: one every 38 px
constexpr double KITCHEN_END_DEGREES = 720.0;     // fridges and tables stand on two turns
constexpr int KITCHEN_GAP_DEGREES = 30;           // gap unit between two of them: 30, 60 or 90 degrees
constexpr float FRIDGE_RADIUS = 1430.0f;          // fridges stand at this radius, their feet on the floor
constexpr float TABLE_RADIUS = 1200.0f;           // tables stand at this radius, their feet on the floor
constexpr float TABLE_BOWL_Y = 130.0f;            // the bowl stands this far above its table, on its top
constexpr float BOWL_ZOOM = 0.5f;                 // a table's bowl is shown at half its picture's size
constexpr float CEREAL_ZOOM = 0.3f;               // thrown cereal is shown at this zoom
constexpr float CEREAL_FLOOR = 100.0f;            // cereal falling below this radius is removed

// -- nearness -----------------------------------------------------------------------------

constexpr float NEAR_ARC = 120.0f;                // pixels of arc either side that count as near

#endif
