// The conversion of number texts.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "lex/number_text.h"

// A real text reads as the double the runtime's atof gives, to the bit: the short plain
// decimals that take the quick conversion, and everything around them. A text beyond the
// double range keeps the nearest finite value and is out of range; texts that are not one
// whole real keep the value of their leading part.
TEST(Lex_NumberText, RealIsTheRuntimesDouble)
{
    std::vector<std::string> texts = {"720.170", "-0.5", "5.", ".5", "0", "-0.0", "0.1", "4.35", "00012.500",
        "123456789012345", "1234567890123456", "12345678.1234567", "0.000000000000001", "9007199254740993",
        "1.7976931348623157e308", "1e400", "-1e400", "1E5", "-", ".", "1.2.3", "12abc", " 3.5", "-.25", "99999999.99999999"};
    std::mt19937 random(17);
    for (int i = 0; i < 2000; ++i) {
        std::string text = random() % 4 == 0 ? "-" : "";
        const int digits = 1 + static_cast<int>(random() % 18);
        const int point = static_cast<int>(random() % (digits + 2));
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + random() % 10);
        }
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        bool outOfRange = false;
        const double made = zel::TextToDouble(text.c_str(), &outOfRange);
        const double atofValue = std::atof(text.c_str());
        const bool beyond = std::isinf(atofValue);
        const double expected = beyond ? std::copysign(DBL_MAX, atofValue) : atofValue;
        EXPECT_EQ(0, std::memcmp(&made, &expected, sizeof made)) << text << ": " << made << " != " << expected;
        EXPECT_EQ(beyond, outOfRange) << text;
    }
}
