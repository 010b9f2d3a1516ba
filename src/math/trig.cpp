// Sine and cosine in plain double arithmetic: the angle is brought into
// [-pi/4, pi/4] by a whole number of quarter turns, then a polynomial (the
// Taylor series, far past where its terms fall under a double's precision)
// gives the sine or cosine of what is left.
#include "math/trig.h"

#include <cmath>

// pi/2 as three parts: the first two hold 33 significant bits each, so their
// products with a whole number of quarter turns below 2^20 are exact, and
// the sum of all three is pi/2 to about 1e-37.
static const double QUARTER_TURN_HIGH = 0x1.921fb544p+0;
static const double QUARTER_TURN_MIDDLE = 0x1.0b4611a6p-34;
static const double QUARTER_TURN_LOW = 0x1.3198a2e037073p-69;
static const double QUARTERS_PER_RADIAN = 0x1.45f306dc9c883p-1; // 2/pi
// Beyond this a float's step between angles is over ten turns: such an angle
// means nothing, and counts as 0 rather than giving a value out of range.
static const double LARGEST_ANGLE = 0x1p30;

// The Taylor series' coefficients, 1/n! with alternating signs. On
// [-pi/4, pi/4] the first term left out is below 1e-19.
static const double SIN_COEFFICIENTS[] = {
    -1.0 / 6.0,        1.0 / 120.0,        -1.0 / 5040.0,          1.0 / 362880.0,
    -1.0 / 39916800.0, 1.0 / 6227020800.0, -1.0 / 1307674368000.0, 1.0 / 355687428096000.0,
};
static const double COS_COEFFICIENTS[] = {
    -1.0 / 2.0,
    1.0 / 24.0,
    -1.0 / 720.0,
    1.0 / 40320.0,
    -1.0 / 3628800.0,
    1.0 / 479001600.0,
    -1.0 / 87178291200.0,
    1.0 / 20922789888000.0,
    -1.0 / 6402373705728000.0,
};

// The sum of c[i] * s^i for i from 0, by Horner's rule.
template <int N> static double polynomial(const double (&c)[N], double s) {
    double sum = c[N - 1];
    for (int i = N - 2; i >= 0; i--)
        sum = sum * s + c[i];
    return sum;
}

static double sin_near_zero(double r) {
    double s = r * r;
    return r + r * s * polynomial(SIN_COEFFICIENTS, s);
}

static double cos_near_zero(double r) {
    double s = r * r;
    return 1.0 + s * polynomial(COS_COEFFICIENTS, s);
}

// An angle of 0 or more as quarter turns (0 to 3) plus the rest, in
// [-pi/4, pi/4].
struct Reduced {
    int quarter;
    double rest;
};

static Reduced reduce(double a) {
    if (a >= LARGEST_ANGLE) return {0, 0.0};
    double k = std::floor(a * QUARTERS_PER_RADIAN + 0.5);
    double rest = ((a - k * QUARTER_TURN_HIGH) - k * QUARTER_TURN_MIDDLE) - k * QUARTER_TURN_LOW;
    int quarter = static_cast<int>(k - 4.0 * std::floor(k * 0.25));
    return {quarter, rest};
}

// The sine of a >= 0 (sin(-a) = -sin(a) is applied by the caller).
static double sin_of_positive(double a) {
    Reduced r = reduce(a);
    switch (r.quarter) {
    case 0: return sin_near_zero(r.rest);
    case 1: return cos_near_zero(r.rest);
    case 2: return -sin_near_zero(r.rest);
    default: return -cos_near_zero(r.rest);
    }
}

// The cosine of a >= 0 (the cosine is even).
static double cos_of_positive(double a) {
    Reduced r = reduce(a);
    switch (r.quarter) {
    case 0: return cos_near_zero(r.rest);
    case 1: return -sin_near_zero(r.rest);
    case 2: return -cos_near_zero(r.rest);
    default: return sin_near_zero(r.rest);
    }
}

double game_sin(double radians) {
    if (std::isnan(radians) || std::isinf(radians)) return radians - radians; // NaN
    return std::signbit(radians) ? -sin_of_positive(-radians) : sin_of_positive(radians);
}

double game_cos(double radians) {
    if (std::isnan(radians) || std::isinf(radians)) return radians - radians;
    return cos_of_positive(std::fabs(radians));
}

float game_sin(float radians) {
    return static_cast<float>(game_sin(static_cast<double>(radians)));
}

float game_cos(float radians) {
    return static_cast<float>(game_cos(static_cast<double>(radians)));
}
