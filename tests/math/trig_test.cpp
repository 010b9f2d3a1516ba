// The game's own sine and cosine against the C library's over small, large
// and negative angles; the float versions round to the nearest float.
#include "math/trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

// Within 1e-15 of the true value, and as far again as a library whose own
// reduction of large angles is coarser may be off (the long double
// functions of some systems reduce with a 66-bit pi).
static bool close(double mine, long double reference, double x) {
    return std::fabs(static_cast<long double>(mine) - reference) <=
           1e-15L * std::fabs(reference) + 1e-18L * std::fabs(x);
}

TEST(Trig, AgreesWithTheLibraryOverEveryRangeOfAngles) {
    struct Range {
        double from, to;
    } ranges[] = {{-1e-6, 1e-6}, {-0.8, 0.8},    {-7.0, 7.0},   {3.14, 3.15},
                  {-1e3, 1e3},   {-1e5, -9.9e4}, {9.99e5, 1e6}, {-1.6e6, 1.6e6}};
    const int STEPS = 20011; // a prime: the angles fall at every phase of a quarter turn
    for (const Range& r : ranges) {
        for (int i = 0; i <= STEPS; i++) {
            double x = r.from + (r.to - r.from) * i / STEPS;
            long double s = sinl(static_cast<long double>(x));
            long double c = cosl(static_cast<long double>(x));
            ASSERT_TRUE(close(game_sin(x), s, x))
                << "sin(" << x << ") = " << game_sin(x) << ", the library gives " << std::sin(x);
            ASSERT_TRUE(close(game_cos(x), c, x))
                << "cos(" << x << ") = " << game_cos(x) << ", the library gives " << std::cos(x);
            float f = static_cast<float>(x);
            ASSERT_EQ(game_sin(f), static_cast<float>(sinl(f))) << "sin of the float " << f;
            ASSERT_EQ(game_cos(f), static_cast<float>(cosl(f))) << "cos of the float " << f;
            ASSERT_EQ(game_sin(-x), -game_sin(x)) << x;
            ASSERT_EQ(game_cos(-x), game_cos(x)) << x;
        }
    }
}

TEST(Trig, ExactValuesAndAnglesThatMeanNothing) {
    EXPECT_EQ(game_sin(0.0), 0.0);
    EXPECT_TRUE(std::signbit(game_sin(-0.0)));
    EXPECT_EQ(game_cos(0.0), 1.0);
    EXPECT_EQ(game_sin(1e-20), 1e-20);
    for (double bad : {HUGE_VAL, -HUGE_VAL, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(game_sin(bad))) << bad;
        EXPECT_TRUE(std::isnan(game_cos(bad))) << bad;
    }
    for (double huge : {0x1p30, -3e12, 1e300}) {
        EXPECT_EQ(game_sin(huge), 0.0) << huge;
        EXPECT_EQ(game_cos(huge), 1.0) << huge;
    }
}
