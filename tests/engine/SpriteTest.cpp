#include "KZ/Sprite.h"
#include "RenderHelpers.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using testsupport::beginSceneFrame;
using testsupport::readPixel;

namespace {

const unsigned RED = 0xFF0000;
const unsigned BLUE = 0x0000FF;
const unsigned BLACK = 0x000000;

// Left half red, right half blue.
const char* const RED_BLUE = "tests/fixtures/sprite_128x64.png";

} // namespace

TEST(Sprite, TakesThePictureSizeAndDrawsItsQuadAtTheExactPixels) {
    testsupport::openWindow();
    KZ_Sprite sprite(RED_BLUE);
    EXPECT_EQ(RED_BLUE, sprite.path);
    EXPECT_NE(0u, sprite.texture);
    EXPECT_EQ(128, sprite.getWidth());
    EXPECT_EQ(64, sprite.getHeight());
    EXPECT_EQ(&sprite.bb, sprite.getBB());
    EXPECT_EQ(&sprite.textureBB, sprite.getTextureBB());
    EXPECT_EQ(128, sprite.getTextureBB()->width);
    EXPECT_EQ(64, sprite.getTextureBB()->height);

    beginSceneFrame();
    sprite.draw(10, 20, 5);
    // Covers x 10 to 138 and y 20 to 84, exclusive of the far edges.
    EXPECT_EQ(RED, readPixel(10, 20));
    EXPECT_EQ(RED, readPixel(73, 50));
    EXPECT_EQ(BLUE, readPixel(74, 50));
    EXPECT_EQ(BLUE, readPixel(137, 83));
    EXPECT_EQ(RED, readPixel(10, 83));
    EXPECT_EQ(BLACK, readPixel(9, 20));
    EXPECT_EQ(BLACK, readPixel(138, 20));
    EXPECT_EQ(BLACK, readPixel(10, 19));
    EXPECT_EQ(BLACK, readPixel(10, 84));
    // Texturing is switched off again after the draw.
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST(Sprite, NewWidthStretchesAndNegativeWidthMirrors) {
    testsupport::openWindow();
    KZ_Sprite sprite(RED_BLUE);

    sprite.setWidth(256);
    EXPECT_EQ(256, sprite.getWidth());
    EXPECT_EQ(256, sprite.getTextureBB()->width);
    beginSceneFrame();
    sprite.draw(10, 20, 5);
    // Half a texel from the edges the default repeat wrap blends in the
    // opposite edge, so the outermost columns are looked at for coverage only.
    EXPECT_NE(BLACK, readPixel(10, 50));
    EXPECT_EQ(RED, readPixel(12, 50));
    EXPECT_EQ(RED, readPixel(135, 50)); // the red half is now 128 wide
    EXPECT_EQ(BLUE, readPixel(140, 50));
    EXPECT_EQ(BLUE, readPixel(263, 50));
    EXPECT_NE(BLACK, readPixel(265, 50));
    EXPECT_EQ(BLACK, readPixel(266, 50));
    EXPECT_EQ(BLACK, readPixel(9, 50));

    sprite.setWidth(-128);
    EXPECT_EQ(-128, sprite.getWidth());
    EXPECT_EQ(-128, sprite.getTextureBB()->width);
    beginSceneFrame();
    sprite.draw(200, 20, 5);
    // From x leftwards to x - 128, the picture's left edge at x.
    EXPECT_EQ(BLACK, readPixel(200, 50));
    EXPECT_EQ(RED, readPixel(199, 50));
    EXPECT_EQ(RED, readPixel(136, 50));
    EXPECT_EQ(BLUE, readPixel(135, 50));
    EXPECT_EQ(BLUE, readPixel(72, 50));
    EXPECT_EQ(BLACK, readPixel(71, 50));

    sprite.setWidth(128);
    EXPECT_EQ(128, sprite.getTextureBB()->width);
    beginSceneFrame();
    sprite.draw(200, 20, 5);
    EXPECT_EQ(RED, readPixel(200, 50));
    EXPECT_EQ(BLUE, readPixel(327, 50));
    EXPECT_EQ(BLACK, readPixel(199, 50));

    sprite.setHeight(32);
    EXPECT_EQ(32, sprite.getHeight());
    beginSceneFrame();
    sprite.draw(200, 20, 5);
    EXPECT_EQ(RED, readPixel(200, 51));
    EXPECT_EQ(BLACK, readPixel(200, 52));
}

TEST(Sprite, TopHalfPercentOfThePictureIsLeftOut) {
    testsupport::openWindow();
    // Row 0 white, all other rows black.
    KZ_Sprite sprite("tests/fixtures/topedge_4x64.png");
    beginSceneFrame();
    sprite.draw(0, 0, 0);
    // The first window row samples at t = 0.005 + 0.995 / 128, a third of the
    // way from the white row to the black one: grey, not white.
    const int top = testsupport::red(readPixel(1, 0));
    EXPECT_GT(top, 150);
    EXPECT_LT(top, 200);
    EXPECT_EQ(BLACK, readPixel(1, 1));
}

TEST(Sprite, LowerDepthIsNearerAndEqualDepthLaterWins) {
    testsupport::openWindow();
    KZ_Sprite red("tests/fixtures/red_16x16.png");
    KZ_Sprite blue("tests/fixtures/blue_16x16.png");

    beginSceneFrame();
    red.draw(50, 50, 5);
    blue.draw(58, 58, 10); // drawn later but farther
    EXPECT_EQ(RED, readPixel(60, 60));
    EXPECT_EQ(BLUE, readPixel(70, 70));

    beginSceneFrame();
    blue.draw(58, 58, 10);
    red.draw(50, 50, 5);
    EXPECT_EQ(RED, readPixel(60, 60));

    beginSceneFrame();
    red.draw(50, 50, 5);
    blue.draw(58, 58, 5);
    EXPECT_EQ(BLUE, readPixel(60, 60));

    beginSceneFrame();
    blue.draw(58, 58, -900);
    red.draw(50, 50, 100);
    EXPECT_EQ(BLUE, readPixel(60, 60));
}

TEST(Sprite, ReloadingReplacesTheTextureAndTakesThePictureSizeAgain) {
    testsupport::openWindow();
    KZ_Sprite sprite(RED_BLUE);
    sprite.setWidth(200);
    sprite.setHeight(10);
    const GLuint old = sprite.texture;
    sprite.loadGraphics();
    EXPECT_NE(0u, sprite.texture);
    EXPECT_NE(old, sprite.texture);
    EXPECT_FALSE(glIsTexture(old));
    EXPECT_EQ(128, sprite.getWidth());
    EXPECT_EQ(64, sprite.getHeight());
    EXPECT_EQ(128, sprite.getTextureBB()->width);
    EXPECT_EQ(64, sprite.getTextureBB()->height);
}

TEST(Sprite, DeletingReleasesTheTextureAndTheDisplayList) {
    testsupport::openWindow();
    KZ_Sprite* sprite = new KZ_Sprite(RED_BLUE);
    const GLuint texture = sprite->texture;
    const GLuint list = sprite->list;
    EXPECT_TRUE(glIsTexture(texture));
    EXPECT_NE(0u, list);
    EXPECT_TRUE(glIsList(list));
    delete sprite;
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_FALSE(glIsList(list));
}

TEST(Sprite, SizeCanBeSetAgainAfterZero) {
    testsupport::openWindow();
    KZ_Sprite sprite(RED_BLUE);
    sprite.setWidth(0);
    sprite.setHeight(0);
    EXPECT_EQ(0, sprite.getWidth());
    EXPECT_EQ(0, sprite.getTextureBB()->width);
    // No ratio can be formed from a zero size: both boxes take the new size.
    sprite.setWidth(64);
    sprite.setHeight(16);
    EXPECT_EQ(64, sprite.getWidth());
    EXPECT_EQ(64, sprite.getTextureBB()->width);
    EXPECT_EQ(16, sprite.getHeight());
    EXPECT_EQ(16, sprite.getTextureBB()->height);
}

TEST(Sprite, SizeKeepsTheRatioBetweenItsTwoBoxes) {
    testsupport::openWindow();
    KZ_Sprite sprite(RED_BLUE);
    sprite.getTextureBB()->width = 256; // quad twice the size callers see
    sprite.setWidth(50);
    EXPECT_EQ(50, sprite.getWidth());
    EXPECT_EQ(100, sprite.getTextureBB()->width);
}

TEST(Sprite, DisplayListHoldsTheWholePictureAtTheOrigin) {
    testsupport::openWindow();
    KZ_Sprite sprite(RED_BLUE);
    sprite.genLists();
    beginSceneFrame();
    glEnable(GL_TEXTURE_2D);
    glTranslatef(300, 100, 0);
    glCallList(sprite.list);
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(RED, readPixel(300, 100));
    EXPECT_EQ(BLUE, readPixel(427, 163));
    EXPECT_EQ(BLACK, readPixel(299, 100));
    EXPECT_EQ(BLACK, readPixel(428, 163));
    EXPECT_EQ(BLACK, readPixel(300, 164));
}

TEST(SpriteDeathTest, DrawingWithoutTextureStops) {
    EXPECT_DEATH(
        {
            testsupport::openWindow();
            KZ_Sprite sprite(RED_BLUE);
            glDeleteTextures(1, &sprite.texture);
            sprite.texture = 0;
            sprite.draw(0, 0, 0);
        },
        "src/KZ/Sprite.cpp.*texture!=0");
}
