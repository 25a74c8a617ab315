#include <gtest/gtest.h>

#include <limits>

#include "platform/Types.h"

using namespace tk;

TEST(Types, DoubleToInt32Truncates) {
    struct Case { double in; Int32 out; };
    const Case cases[] = {
        {0.0, 0}, {0.999999, 0}, {1.0, 1}, {91.9999, 91}, {-0.5, 0}, {-1.5, -1},
        {1e300, std::numeric_limits<Int32>::max()}, {-1e300, std::numeric_limits<Int32>::min()},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CInt32(c.in), c.out) << c.in;
}

TEST(Types, AscAndChrRoundTrip) {
    EXPECT_EQ(Asc(""), 0);
    EXPECT_EQ(Asc("\b"), 8);
    EXPECT_EQ(Asc("A"), 65);
    EXPECT_EQ(Chr(13), "\r");
    for (Int32 code : {1, 65, 127, 233, 0x20AC, 0x1F600}) EXPECT_EQ(Asc(Chr(code)), code);
    EXPECT_EQ(Str(-42), "-42");
}
