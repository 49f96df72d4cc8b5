#include "show_trig.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// The constants of one quadrant pair: signs by quadrant, pi/2 and its inverse (scaled by 2^24 so a
// shift rounds the quotient), the cosine (c) and sine (s) polynomial coefficients.
struct Quadrants {
    double sign[4];
    double hpi_inv, hpi;
    double c0, c1, c2, c3, c4;
    double s1, s2, s3;
};

// The first entry serves quadrants 0 and 1, the second 2 and 3 (its cosine terms negated).
constexpr Quadrants QUADRANTS[2] = {
    {{1.0, -1.0, -1.0, 1.0}, 0x1.45F306DC9C883p+23, 0x1.921FB54442D18p0, 0x1p0, -0x1.ffffffd0c621cp-2,
     0x1.55553e1068f19p-5, -0x1.6c087e89a359dp-10, 0x1.99343027bf8c3p-16, -0x1.555545995a603p-3,
     0x1.1107605230bc4p-7, -0x1.994eb3774cf24p-13},
    {{1.0, -1.0, -1.0, 1.0}, 0x1.45F306DC9C883p+23, 0x1.921FB54442D18p0, -0x1p0, 0x1.ffffffd0c621cp-2,
     -0x1.55553e1068f19p-5, 0x1.6c087e89a359dp-10, -0x1.99343027bf8c3p-16, -0x1.555545995a603p-3,
     0x1.1107605230bc4p-7, -0x1.994eb3774cf24p-13},
};

// 4/pi in overlapping 32-bit windows of its binary digits, for reducing large arguments exactly.
constexpr uint32_t INV_PIO4[24] = {
    0xa2,       0xa2f9,     0xa2f983,   0xa2f9836e, 0xf9836e4e, 0x836e4e44, 0x6e4e4415, 0x4e441529,
    0x441529fc, 0x1529fc27, 0x29fc2757, 0xfc2757d1, 0x2757d1f5, 0x57d1f534, 0xd1f534dd, 0xf534ddc0,
    0x34ddc0db, 0xddc0db62, 0xc0db6295, 0xdb629599, 0x6295993c, 0x95993c43, 0x993c4390, 0x3c439041,
};

constexpr double PI63 = 0x1.921FB54442D18p-62;   // pi/2 scaled to the 62-bit fixed point of the large reduction
constexpr float PIO4 = 0x1.921FB6p-1f;           // below pi/4 no reduction is needed
constexpr float TINY = 0x1p-12f;                 // below this sin x is x and cos x is 1 in float
constexpr float FAST_LIMIT = 120.0f;             // below this the double-precision reduction is exact enough

// The float's bits.
uint32_t bits_of(float x)
{
    uint32_t u;
    std::memcpy(&u, &x, sizeof u);
    return u;
}

// The sign-less exponent and top mantissa bits, which order magnitudes for the range tests.
uint32_t top12(float x)
{
    return (bits_of(x) >> 20) & 0x7ff;
}

// sin x (n even) or cos x (n odd) for a reduced x with x2 = x * x. The products and sums are fused as
// glibc's build for processors with FMA fuses them, which is the one x86-64 machines of today run.
float polynomial(double x, double x2, const Quadrants* p, int n)
{
    if ((n & 1) == 0) {
        const double x3 = x * x2;
        const double s1 = std::fma(x2, p->s3, p->s2);
        const double x7 = x3 * x2;
        const double s = std::fma(x3, p->s1, x);
        return static_cast<float>(std::fma(x7, s1, s));
    }
    const double x4 = x2 * x2;
    const double c2 = std::fma(x2, p->c4, p->c3);
    const double c1 = std::fma(x2, p->c1, p->c0);
    const double x6 = x4 * x2;
    const double c = std::fma(x4, p->c2, c1);
    return static_cast<float>(std::fma(x6, c2, c));
}

// x reduced by the nearest multiple n of pi/2, for |x| < 120.
double reduce_fast(double x, const Quadrants* p, int* n)
{
    const double r = x * p->hpi_inv;
    *n = (static_cast<int32_t>(r) + 0x800000) >> 24;
    return std::fma(-static_cast<double>(*n), p->hpi, x);
}

// The float with bits `xi` reduced by the nearest multiple n of pi/2, in 62-bit fixed point.
double reduce_large(uint32_t xi, int* n)
{
    const uint32_t* window = &INV_PIO4[(xi >> 26) & 15];
    const int shift = (xi >> 23) & 7;
    xi = (xi & 0xffffff) | 0x800000;
    xi <<= shift;
    uint64_t res0 = xi * window[0];
    const uint64_t res1 = static_cast<uint64_t>(xi) * window[4];
    const uint64_t res2 = static_cast<uint64_t>(xi) * window[8];
    res0 = (res2 >> 32) | (res0 << 32);
    res0 += res1;
    const uint64_t quadrant = (res0 + (1ULL << 61)) >> 62;
    res0 -= quadrant << 62;
    *n = static_cast<int>(quadrant);
    return static_cast<double>(static_cast<int64_t>(res0)) * PI63;
}

// sin y (cosine = false) or cos y (cosine = true) as glibc computes them.
float sine_or_cosine(float y, bool cosine)
{
    const int odd = cosine ? 1 : 0;   // which polynomial quadrant 0 takes
    double x = y;
    const Quadrants* p = &QUADRANTS[0];
    int n = 0;
    if (top12(y) < top12(PIO4)) {
        if (top12(y) < top12(TINY))
            return cosine ? 1.0f : y;
        return polynomial(x, x * x, p, odd);
    }
    if (top12(y) < top12(FAST_LIMIT)) {
        x = reduce_fast(x, p, &n);
        const double s = p->sign[n & 3];
        if (n & 2)
            p = &QUADRANTS[1];
        return polynomial(x * s, x * x, p, n ^ odd);
    }
    if (top12(y) < top12(INFINITY)) {
        const uint32_t xi = bits_of(y);
        const int sign = static_cast<int>(xi >> 31);
        x = reduce_large(xi, &n);
        const double s = p->sign[(n + sign) & 3];
        if ((n + sign) & 2)
            p = &QUADRANTS[1];
        return polynomial(x * s, x * x, p, n ^ odd);
    }
    return NAN;
}

}  // namespace

float show_sin(float x)
{
    return sine_or_cosine(x, false);
}

float show_cos(float x)
{
    return sine_or_cosine(x, true);
}
