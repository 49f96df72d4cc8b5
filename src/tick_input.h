// The input a tick reads, handed to it by the host: which arrow keys are held down.
#ifndef TICK_INPUT_H
#define TICK_INPUT_H

struct TickInput {
    bool left = false;    // turns the camera back
    bool right = false;   // turns the camera on
    bool up = false;      // raises the camera
    bool down = false;    // lowers the camera
};

#endif
