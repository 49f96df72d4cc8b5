// The single-precision sine and cosine the native show computes with: glibc's sinf and cosf.
// The show's camera bob adds sin(ticks / 10) to the camera height every tick, and the camera height
// steers its choices, so a last-bit difference grows into another show; the browser's C library
// (musl) rounds differently, so the web build carries glibc's method: the argument reduced by pi/2
// in double precision and polynomials evaluated in double with fused multiply-adds, as glibc runs
// on x86-64 processors with FMA, then rounded to float.
#ifndef GLIBC_SINCOSF_H
#define GLIBC_SINCOSF_H

// sinf(x) as glibc computes it; NaN for infinities and NaN.
float glibc_sinf(float x);

// cosf(x) as glibc computes it; NaN for infinities and NaN.
float glibc_cosf(float x);

#endif
