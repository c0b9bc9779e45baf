#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "sdk/VstText.h"

namespace {

TEST(VstText, ParameterDisplayIsFixedWithSixDecimalsCutToEight) {
    const std::pair<float, const char*> cases[] = {
        {0.8f, "0.800000"},  {0.0f, "0.000000"}, {1.0f, "1.000000"},    {123.456f, "123.4560"},
        {-0.5f, "-0.50000"}, {NAN, "nan"},       {3.0e38f, "30000000"}, {-3.0e38f, "-3000000"},
    };
    for (auto [value, expected] : cases) {
        char text[32];
        floatToText(value, text, 8);
        EXPECT_STREQ(text, expected) << value;
    }
}

TEST(VstText, CopyIsBoundedAndTerminated) {
    char text[8];
    std::memset(text, 'x', sizeof text);
    vstCopyText(text, "abcdefghijk", 4);
    EXPECT_STREQ(text, "abcd");
    EXPECT_EQ(text[5], 'x');  // nothing written past the terminator
    vstCopyText(text, nullptr, 4);
    EXPECT_STREQ(text, "");
}

}  // namespace
