// The show's single-precision sine and cosine, glibc's sinf and cosf bit for bit. The camera bob
// adds sin(ticks / 10) to the camera height every tick, and the camera height steers the show's
// choices, so a last-bit difference grows into another show; C libraries round differently (the
// browser's, musl, does), so the show carries glibc's method: the argument reduced by pi/2 in double
// precision and polynomials evaluated in double with fused multiply-adds, as glibc runs on x86-64
// processors with FMA, then rounded to float.
#ifndef SHOW_TRIG_H
#define SHOW_TRIG_H

// sinf(x) as glibc computes it; NaN for infinities and NaN.
float show_sin(float x);

// cosf(x) as glibc computes it; NaN for infinities and NaN.
float show_cos(float x);

#endif
