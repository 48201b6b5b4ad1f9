#include "KZ/BoundingBox.h"

#include <gtest/gtest.h>

TEST(BoundingBox, DefaultIsTheUnitBoxAtTheOrigin) {
    KZ_BoundingBox box;
    EXPECT_EQ(0, box.x);
    EXPECT_EQ(0, box.y);
    EXPECT_EQ(1, box.width);
    EXPECT_EQ(1, box.height);
    // Strict edges: a 1 x 1 box has no integer point inside.
    for (int px = -1; px <= 2; ++px) {
        for (int py = -1; py <= 2; ++py) {
            EXPECT_FALSE(box.contains(px, py)) << px << "," << py;
        }
    }
}

TEST(BoundingBox, ContainsIsStrictOnAllFourEdges) {
    KZ_BoundingBox box(10, 20, 30, 40);
    EXPECT_TRUE(box.contains(11, 21));
    EXPECT_TRUE(box.contains(39, 59));
    EXPECT_TRUE(box.contains(25, 40));
    EXPECT_FALSE(box.contains(10, 30)); // left edge
    EXPECT_FALSE(box.contains(40, 30)); // right edge
    EXPECT_FALSE(box.contains(20, 20)); // top edge
    EXPECT_FALSE(box.contains(20, 60)); // bottom edge
    EXPECT_FALSE(box.contains(9, 30));
    EXPECT_FALSE(box.contains(41, 30));
    EXPECT_FALSE(box.contains(20, 19));
    EXPECT_FALSE(box.contains(20, 61));
}

TEST(BoundingBox, FieldsAreReadAndWrittenDirectly) {
    KZ_BoundingBox box(-5, -5, 3, 3);
    EXPECT_TRUE(box.contains(-4, -4));
    box.x = 100;
    box.width = 10;
    EXPECT_FALSE(box.contains(-4, -4));
    EXPECT_TRUE(box.contains(105, -4));
    // A box with no extent contains nothing, whatever its sign.
    KZ_BoundingBox flipped(50, 50, -10, 10);
    EXPECT_FALSE(flipped.contains(45, 55));
}
