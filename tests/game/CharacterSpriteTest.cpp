// Portraits standing on the dialog strip, and backgrounds stretched over the
// window, drawn for real.

#include "CharacterSprite.h"
#include "BackGroundImage.h"
#include "KZ/2DPlanet.h"
#include "KZ/Sprite.h"
#include "ScriptFixture.h"

#include <gtest/gtest.h>

using namespace scripttest;

namespace {

class PortraitTest : public ::testing::Test {
protected:
    void SetUp() override {
        openFixtureWindow();
        planet.debug = false;
        portrait = new CharacterSprite("res/portrait.png"); // 128 x 256
        planet.add(portrait);
    }

    void cycle() { bareFrame(&planet); }

    // Checks that the portrait covers exactly [left, left + 128) x [124, 380),
    // facing right (red half first) or mirrored (yellow half first).
    void expectPortraitAt(int left, bool mirrored) {
        Snapshot s;
        unsigned first = mirrored ? BACK : FACING;
        unsigned second = mirrored ? FACING : BACK;
        // Bottom edge on the strip's top, H - 100 = 380; top at 380 - 256.
        EXPECT_EQ(64 * 256, s.count(left, 124, left + 64, 380, first));
        EXPECT_EQ(64 * 256, s.count(left + 64, 124, left + 128, 380, second));
        EXPECT_EQ(0, s.count(0, 0, 640, 124, first) + s.count(0, 380, 640, 480, first));
        if (left > 0) {
            EXPECT_EQ(CLEAR, s.at(left - 1, 200));
        }
        if (left + 128 < 640) {
            EXPECT_EQ(CLEAR, s.at(left + 128, 200));
        }
    }

    KZ_2DPlanet planet;
    CharacterSprite* portrait = nullptr;
};

TEST_F(PortraitTest, StandsOnTheStripWhateverItsY) {
    EXPECT_EQ(0, portrait->getX());
    EXPECT_EQ(-900, portrait->getZ());
    // Before its picture is loaded there is no width to place it by: it stays put.
    portrait->moveCenter();
    portrait->moveRight();
    EXPECT_EQ(0, portrait->getX());
    portrait->setY(37);
    cycle();
    expectPortraitAt(0, false);
}

TEST_F(PortraitTest, MovesLeftRightAndCentre) {
    cycle();
    portrait->moveCenter();
    EXPECT_EQ(320 - 64, portrait->getX());
    cycle();
    expectPortraitAt(256, false);

    portrait->moveRight();
    EXPECT_EQ(640 - 128, portrait->getX());
    cycle();
    expectPortraitAt(512, false);

    portrait->moveLeft();
    EXPECT_EQ(0, portrait->getX());

    // An odd width centres on the truncated half.
    portrait->sprite->setWidth(201);
    portrait->moveCenter();
    EXPECT_EQ(320 - 100, portrait->getX());
}

TEST_F(PortraitTest, MirroredPortraitCoversTheSamePixelsAndStillFitsRight) {
    cycle();
    portrait->setX(100);
    portrait->flip();
    EXPECT_TRUE(portrait->flipped);
    EXPECT_EQ(-128, portrait->sprite->getWidth());
    cycle();
    expectPortraitAt(100, true);

    portrait->moveRight();
    EXPECT_EQ(512, portrait->getX());
    portrait->moveCenter();
    EXPECT_EQ(256, portrait->getX());
    portrait->moveRight();
    cycle();
    expectPortraitAt(512, true); // ends at the right edge of the window

    portrait->flip(); // twice restores it
    EXPECT_FALSE(portrait->flipped);
    cycle();
    expectPortraitAt(512, false);
}

TEST_F(PortraitTest, StaysMirroredAcrossAGraphicsReload) {
    cycle();
    portrait->setX(200);
    portrait->flip();
    planet.hideNotify();
    EXPECT_EQ(nullptr, portrait->sprite);
    planet.showNotify();
    cycle();
    EXPECT_EQ(-128, portrait->sprite->getWidth());
    expectPortraitAt(200, true);

    // Flipped while unloaded: the picture comes back as the flag says.
    planet.hideNotify();
    portrait->flip();
    planet.showNotify();
    cycle();
    expectPortraitAt(200, false);
}

TEST_F(PortraitTest, HiddenPortraitLeavesTheWindow) {
    cycle();
    portrait->setX(-1000);
    cycle();
    Snapshot s;
    EXPECT_EQ(0, s.count(0, 0, 640, 480, FACING) + s.count(0, 0, 640, 480, BACK));
}

TEST(BackGroundImage, IsStretchedOverTheWholeWindowBehindEverything) {
    openFixtureWindow();
    KZ_2DPlanet planet;
    planet.debug = false;
    BackGroundImage* background = new BackGroundImage("res/background.png"); // 32 x 16
    CharacterSprite* portrait = new CharacterSprite("res/portrait.png");
    planet.add(portrait); // added first, still drawn in front
    planet.add(background);
    EXPECT_EQ(100, background->getZ());
    bareFrame(&planet);

    EXPECT_EQ(640, background->sprite->getWidth());
    EXPECT_EQ(480, background->sprite->getHeight());
    Snapshot s;
    EXPECT_EQ(640 * 480 - 128 * 256, s.count(0, 0, 640, 480, BACKGROUND));
    EXPECT_EQ(FACING, s.at(10, 200));

    // Hidden and shown again: reloaded at the window's size.
    planet.hideNotify();
    EXPECT_EQ(nullptr, background->sprite);
    planet.showNotify();
    bareFrame(&planet);
    Snapshot again;
    EXPECT_EQ(640 * 480 - 128 * 256, again.count(0, 0, 640, 480, BACKGROUND));
}

} // namespace
