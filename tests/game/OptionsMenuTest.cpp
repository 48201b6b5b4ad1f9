#include "GameHarness.h"
#include "XarnMenuOpciones.h"
#include "XarnTextClickable.h"

#include <gtest/gtest.h>

using namespace gameharness;

// The verb menu opens right of an object left of the middle, left of it past
// the middle, centred on it, and is pulled back onto the screen at every edge.
TEST(OptionsMenu, OpensBesideTheObjectWithinTheScreen) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    XarnMenuOpciones* menu = scene.optionsMenu;
    Thing* thing = new Thing(&scene, "Cosa", 0, 0);
    scene.add(thing);
    scene.add(new Thing(&scene, "Alta", 20, 80, "tests/fixtures/game_tall_32x60.png"));
    frame(scene);
    struct Case {
        int x, y, menuX, menuY;
    };
    // The tall object first: 60 pixels high at y 80 puts the menu at 80 + 30 - 64.
    for (Case c : {Case{20, 80, 52, 46}, Case{400, 200, 300, 168}, Case{320, 300, 384, 268},
                   Case{200, 0, 264, 0}, Case{200, 440, 264, 352}}) {
        if (c.x != 20) {
            thing->setX(c.x);
            thing->setY(c.y);
        }
        click(c.x + 5, c.y + 20);
        frame(scene, 2);
        EXPECT_EQ(c.menuX, menu->getX()) << c.x << "," << c.y;
        EXPECT_EQ(c.menuY, menu->getY()) << c.x << "," << c.y;
        menu->hide();
        frame(scene);
    }
    for (Case c : {Case{-30, 470, 0, 352}, Case{600, 10, 540, 10}, Case{700, -5, 540, 0}}) {
        menu->unhide(c.x, c.y);
        frame(scene);
        EXPECT_EQ(c.menuX, menu->getX());
        EXPECT_EQ(c.menuY, menu->getY());
    }
}

// Filling, laying out, choosing and closing, through real clicks: the enabled
// verbs in order, parked until they have a box, then one column; a button
// covering another object takes the click; any other click just closes.
TEST(OptionsMenu, ColumnOfVerbsHandsTheChosenOneToItsObject) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    XarnMenuOpciones* menu = scene.optionsMenu;
    Thing* a = new Thing(&scene, "A", 100, 100);
    Thing* b = new Thing(&scene, "B", 180, 90); // under A's menu column
    a->recoger->enabled = false;
    scene.add(a);
    scene.add(b);
    frame(scene);

    click(130, 130);
    frame(scene);
    ASSERT_EQ(3u, menu->options.size());
    const char* verbs[] = {"Hablar", "Examinar", "Mover"};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(verbs[i], menu->options[i]->text);
        EXPECT_EQ(a, menu->options[i]->object);
    }
    frame(scene);
    for (XarnMenuOpciones::option* entry : menu->options) {
        EXPECT_EQ(164, entry->button->getX());
        EXPECT_EQ(-10000, entry->button->getY());
    }
    frame(scene);
    int top = 68;
    for (XarnMenuOpciones::option* entry : menu->options) {
        XarnTextClickable* button = entry->button;
        EXPECT_EQ(top, button->getY());
        EXPECT_LT(0, whitePixels(164, top, button->hitBox.width, button->hitBox.height));
        top += button->hitBox.height;
    }

    // "Examinar" lies over B, which is nearer the back: the button gets it.
    XarnTextClickable* examinar = menu->options[1]->button;
    ASSERT_GT(examinar->getY() + 10, 90);
    click(190, examinar->getY() + 10);
    frame(scene);
    EXPECT_EQ(std::vector<std::string>{"Examinar"}, a->verbs);
    EXPECT_TRUE(b->verbs.empty());
    EXPECT_EQ(a, menu->options[0]->object);
    EXPECT_TRUE(menu->hidden);
    frame(scene);
    for (XarnMenuOpciones::option* entry : menu->options) {
        EXPECT_EQ(-10000, entry->button->getX());
    }

    // Reopen for A, then click B where no button is: B's verbs, beside B.
    click(130, 130);
    frame(scene, 3);
    for (XarnMenuOpciones::option* entry : menu->options) {
        ASSERT_FALSE(entry->button->hitBox.contains(242, 152));
    }
    click(242, 152);
    frame(scene);
    ASSERT_EQ(4u, menu->options.size());
    EXPECT_EQ(b, menu->options[0]->object);
    frame(scene);
    EXPECT_EQ(244, menu->getX());

    // A click on nothing closes the menu and hands no verb to anyone.
    frame(scene);
    click(600, 450);
    frame(scene);
    EXPECT_TRUE(menu->hidden);
    EXPECT_EQ(1u, a->verbs.size());
    EXPECT_TRUE(b->verbs.empty());
}
