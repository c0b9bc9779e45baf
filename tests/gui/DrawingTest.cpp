#include <gtest/gtest.h>

#include "gui/CBitmap.h"
#include "gui/COffscreenContext.h"

TEST(Drawing, FillRect) {
    COffscreenContext c(nullptr, 10, 10, kBlackCColor);
    c.setFillColor(kRedCColor);
    c.fillRect(CRect(2, 2, 5, 5));
    EXPECT_EQ(c.getPoint({2, 2}), kRedCColor);
    EXPECT_EQ(c.getPoint({5, 5}), kBlackCColor);
}
