#include "GameHarness.h"
#include "XarnCurrentSelected.h"
#include "XarnMenuOpciones.h"
#include "XarnTextClickable.h"

#include <gtest/gtest.h>

using namespace gameharness;

// The framework's own object: "res/body1.png", the placeholder name, and a
// verb answered with one line on standard output.
TEST(InvestigableObject, SimpleObjectDefaults) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    XarnSimpleInvestigableObject* body = new XarnSimpleInvestigableObject(&scene);
    body->setX(100);
    body->setY(100);
    scene.add(body);
    point(120, 120);
    frame(scene);
    EXPECT_EQ("res/body1.png", body->sprite->path);
    EXPECT_EQ(" Change this dummy text ", scene.currentSelected->text);

    click(120, 120);
    frame(scene, 3);
    XarnTextClickable* mover = scene.optionsMenu->options[3]->button;
    ASSERT_EQ("Mover", mover->text);
    click(mover->getX() + 5, mover->getY() + 5);
    testsupport::captureStdout();
    frame(scene);
    EXPECT_EQ("Mover action \n", testsupport::capturedStdout());
}

// With every verb switched off a click opens an empty menu; an object without
// a scene can be pointed at and clicked without anything happening.
TEST(InvestigableObject, NoVerbsAndNoScene) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    Thing* mute = new Thing(&scene, "Mudo", 100, 100);
    for (XarnInvestigableObject::option* verb : mute->options) {
        verb->enabled = false;
    }
    scene.add(mute);
    scene.add(new Thing(nullptr, "Suelto", 300, 100));
    frame(scene);
    click(120, 120);
    frame(scene);
    EXPECT_TRUE(scene.optionsMenu->options.empty());
    EXPECT_FALSE(scene.optionsMenu->hidden);
    EXPECT_EQ(scene.optionsMenu->getX(), 164);

    click(320, 120);
    frame(scene, 2);
    EXPECT_EQ("Mudo", scene.currentSelected->text);
}
