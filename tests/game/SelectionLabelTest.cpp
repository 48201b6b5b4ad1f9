#include "GameHarness.h"
#include "KZ/FontRenderer.h"
#include "XarnCurrentSelected.h"

#include <gtest/gtest.h>

using namespace gameharness;

// White pixels in the strip along the bottom of the window where the label goes.
static int labelPixels() {
    return whitePixels(0, 400, 640, 80);
}

// Shown exactly while an object is pointed at, bottom centre, rendered once
// per new name however long the pointer stays.
TEST(SelectionLabel, ShowsTheHoveredNameEveryFrameAndRendersItOnce) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    XarnCurrentSelected* label = scene.currentSelected;
    scene.add(new Thing(&scene, "Policia", 100, 100));
    scene.add(new Thing(&scene, "Basurero", 300, 100));
    point(600, 20);
    frame(scene);
    ASSERT_NE(nullptr, label->fontRenderer); // " Dummy " is rendered, but not shown
    EXPECT_EQ(0, labelPixels());

    point(100, 130); // on the left edge: not inside
    frame(scene);
    EXPECT_EQ(0, labelPixels());
    point(101, 130);
    frame(scene);
    EXPECT_EQ("Policia", label->text);
    const int w = label->fontRenderer->getWidth(), h = label->fontRenderer->getHeight();
    const int shown = labelPixels();
    EXPECT_LT(0, shown);
    EXPECT_EQ(shown, whitePixels(320 - w / 2, 480 - h, w, h));

    // A mark a new rendering would wipe out.
    label->fontRenderer->bb.width += 2;
    for (int i = 0; i < 100; i++) {
        point(120 + i % 20, 130);
        frame(scene);
        ASSERT_LT(0, labelPixels()) << i;
    }
    EXPECT_EQ(w + 2, label->fontRenderer->getWidth());

    point(330, 130); // straight onto the other object
    frame(scene);
    EXPECT_EQ("Basurero", label->text);
    EXPECT_NE(w + 2, label->fontRenderer->getWidth());
    EXPECT_LT(0, labelPixels());

    point(600, 20);
    frame(scene);
    EXPECT_EQ(0, labelPixels());
}

// Never drawn while a script runs; a name set meanwhile shows once when the
// scene is interactive again, even with the pointer gone.
TEST(SelectionLabel, WaitsForTheEndOfTheScript) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    scene.commandStack.add(new SCommandSay(scene.dialogBox, "Hola", nullptr));
    scene.add(new Thing(&scene, "Policia", 100, 100));
    point(130, 130);
    frame(scene, 3);
    EXPECT_EQ(scene.MODE_SCRIPT, scene.mode);
    EXPECT_FALSE(scene.currentSelected->drawn);
    EXPECT_EQ(0, whitePixels(200, 400, 240, 80));

    click(600, 20);
    frame(scene, 3); // the line is clicked away, polled twice, dropped
    EXPECT_EQ(0, whitePixels(200, 400, 240, 80));
    frame(scene);
    EXPECT_EQ(scene.MODE_INTERACTIVE, scene.mode);
    EXPECT_LT(0, labelPixels());
    frame(scene);
    EXPECT_EQ(0, labelPixels());
}

// Drawing a label whose graphics were never loaded stops the program.
TEST(SelectionLabelDeathTest, DrawingWithoutGraphicsIsAProgrammingError) {
    InteractiveScenePlanet scene;
    scene.mode = scene.MODE_INTERACTIVE;
    scene.currentSelected->setText("Policia");
    EXPECT_DEATH(scene.currentSelected->draw(nullptr), "src/XarnCurrentSelected.*fontRenderer!=0");
}
