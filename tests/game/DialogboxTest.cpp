// The dialog strip drawn for real in a window: backdrop, line, bobbing icon,
// and the presses that finish a line.

#include "Dialogbox.h"
#include "KZ/2DPlanet.h"
#include "ScriptFixture.h"

#include <gtest/gtest.h>

using namespace scripttest;
using testsupport::pushLeftPress;
using testsupport::pushLeftRelease;

namespace {

// The strip in a bare scene, drawn under the scenes' camera.
class DialogboxTest : public ::testing::Test {
protected:
    void SetUp() override {
        openFixtureWindow();
        planet.debug = false;
        box = new Dialogbox("res/Vera.ttf");
        planet.add(box);
    }

    void cycle() { bareFrame(&planet); }

    // Glyph pixels of the line, in the strip's text area.
    int lineGlyphs(const Snapshot& s) { return s.glyphs(20, 380, 560, 470); }

    // The icon's top row, found by scanning its column; -1 when it is not drawn.
    int iconTop(const Snapshot& s) {
        for (int y = 400; y < 480; ++y)
            if (s.at(590, y) == ICON)
                return y;
        return -1;
    }

    KZ_2DPlanet planet;
    Dialogbox* box = nullptr;
};

TEST_F(DialogboxTest, NewBoxDrawsOnlyTheBackdropAcrossTheBottom) {
    EXPECT_EQ(20, box->getX());
    EXPECT_EQ(380, box->getY());
    EXPECT_EQ(-1000, box->getZ());
    EXPECT_TRUE(box->isDone());
    EXPECT_EQ("   ", box->text);

    cycle();
    Snapshot s;
    // W x 120 from y - 12 = 368, running past the bottom edge.
    EXPECT_EQ(CLEAR, s.at(5, 367));
    EXPECT_EQ(640 * (480 - 368), s.count(0, 368, 640, 480, BACKDROP));
    EXPECT_EQ(0, lineGlyphs(s));
    EXPECT_EQ(-1, iconTop(s));
}

TEST_F(DialogboxTest, ShowsTheLineAndTheBobbingIconUntilAPressAnywhere) {
    cycle();
    box->setText("Buenos dias comisario");
    EXPECT_FALSE(box->isDone());

    // The icon, 40 x 32 at (W - 64, H - 64 + bounce), bobs 1, 2, 3, 1, 2, 3.
    int expected[] = {2, 3, 1, 2, 3, 1};
    for (int b : expected) {
        cycle();
        EXPECT_EQ(b, box->bounce);
        Snapshot s;
        EXPECT_GT(lineGlyphs(s), 50);
        EXPECT_EQ(416 + b, iconTop(s));
        EXPECT_EQ(40 * 32, s.count(576, 416 + b, 616, 448 + b, ICON));
        EXPECT_EQ(40 * 32, s.count(560, 400, 640, 480, ICON));
    }
    EXPECT_FALSE(box->isDone());

    // A press far from the box finishes the line in the cycle it comes.
    pushLeftPress(3, 3);
    cycle();
    EXPECT_TRUE(box->isDone());
    Snapshot s;
    EXPECT_EQ(0, lineGlyphs(s));
    EXPECT_EQ(-1, iconTop(s));
    EXPECT_EQ(640 * 112, s.count(0, 368, 640, 480, BACKDROP));

    // A press while done changes nothing.
    pushLeftRelease(3, 3);
    pushLeftPress(3, 3);
    cycle();
    EXPECT_TRUE(box->isDone());
}

TEST_F(DialogboxTest, HoldingTheButtonDoesNotFinishTheNextLine) {
    cycle();
    box->setText("Uno");
    pushLeftPress(100, 100);
    cycle();
    EXPECT_TRUE(box->isDone());

    box->setText("Dos");
    for (int i = 0; i < 3; ++i) {
        cycle(); // the button is still down
        EXPECT_FALSE(box->isDone());
    }
    pushLeftRelease(100, 100);
    cycle();
    EXPECT_FALSE(box->isDone());
    pushLeftPress(100, 100);
    cycle();
    EXPECT_TRUE(box->isDone());
}

TEST_F(DialogboxTest, HiddenBoxDrawsNothingButAPressStillFinishesTheLine) {
    cycle();
    box->setText("Buenos dias comisario");
    box->hideAll();
    cycle();
    Snapshot hidden;
    EXPECT_EQ(0, hidden.count(0, 368, 640, 480, BACKDROP));
    EXPECT_EQ(0, lineGlyphs(hidden));
    EXPECT_EQ(-1, iconTop(hidden));
    EXPECT_EQ(2, box->bounce); // it still steps

    pushLeftPress(300, 200);
    cycle();
    EXPECT_TRUE(box->isDone());

    box->setText("Otra linea");
    box->unhideAll();
    cycle();
    Snapshot shown;
    EXPECT_GT(shown.count(0, 368, 640, 480, BACKDROP), 0);
    EXPECT_GT(lineGlyphs(shown), 0);
}

// A press that is already current when a line is set (the second click of a
// quick double click, or a click while lines advance) belongs to what came
// before: it must not make the new line vanish before it is ever drawn.
TEST_F(DialogboxTest, APressOfTheCycleThatSetsTheLineDoesNotFinishIt) {
    cycle();
    pushLeftPress(200, 200);
    KZ_EventManager::poll();               // the press is read into this cycle...
    box->setText("Buenos dias comisario"); // ...and the line is set in it
    testsupport::beginSceneFrame();
    planet.display(nullptr);
    EXPECT_FALSE(box->isDone());
    Snapshot s;
    EXPECT_GT(lineGlyphs(s), 50);

    // The first press from the next cycle on finishes it.
    pushLeftRelease(200, 200);
    cycle();
    EXPECT_FALSE(box->isDone());
    pushLeftPress(200, 200);
    cycle();
    EXPECT_TRUE(box->isDone());

    // A line set between cycles, with no press current, is finished by the
    // next press as usual.
    pushLeftRelease(200, 200);
    cycle();
    box->setText("Otra");
    pushLeftPress(200, 200);
    cycle();
    EXPECT_TRUE(box->isDone());
}

TEST_F(DialogboxTest, ALineShowingWhileTheGraphicsAreReloadedIsStillDrawn) {
    cycle();
    box->setText("Buenos dias comisario");
    cycle();
    Snapshot before;
    int glyphs = lineGlyphs(before);
    ASSERT_GT(glyphs, 50);

    // The scene is hidden and shown again during the line.
    planet.hideNotify();
    EXPECT_EQ(nullptr, box->fontRenderer);
    planet.showNotify();
    cycle();
    Snapshot after;
    EXPECT_EQ(glyphs, lineGlyphs(after));
    EXPECT_FALSE(box->isDone());
}

TEST_F(DialogboxTest, ALineSetBeforeTheFirstLoadIsDrawnOnceLoaded) {
    box->setText("Buenos dias comisario");
    EXPECT_EQ(nullptr, box->fontRenderer);
    cycle(); // creation loads the graphics
    Snapshot s;
    EXPECT_GT(lineGlyphs(s), 50);
    EXPECT_NE(-1, iconTop(s));
}

} // namespace
