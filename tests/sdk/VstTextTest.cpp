#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "sdk/VstText.h"

namespace {

TEST(VstText, ParameterDisplayIsFixedWithSixDecimalsCutToEight) {
    char text[32];
    floatToText(0.8f, text, 8);
    EXPECT_STREQ(text, "0.800000");
    floatToText(0.0f, text, 8);
    EXPECT_STREQ(text, "0.000000");
    floatToText(1.0f, text, 8);
    EXPECT_STREQ(text, "1.000000");
    floatToText(0.24f, text, 8);
    EXPECT_STREQ(text, "0.240000");
    floatToText(123.456f, text, 8);
    EXPECT_STREQ(text, "123.4560");
    floatToText(-0.5f, text, 8);
    EXPECT_STREQ(text, "-0.50000");
    floatToText(3.0e38f, text, 8);
    EXPECT_EQ(std::strlen(text), 8u);
    floatToText(NAN, text, 8);
    EXPECT_STREQ(text, "nan");
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
