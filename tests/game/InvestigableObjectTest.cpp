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

// An object taken out of its scene while its verb menu is open: its buttons go
// with it, and a click where they were calls nothing on the deleted object.
TEST(InvestigableObject, RemovedWhileItsMenuIsOpenIsNeverCalledAgain) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    Thing* thing = new Thing(&scene, "Cosa", 100, 100);
    scene.add(thing);
    frame(scene);
    click(130, 130);
    frame(scene, 3);
    ASSERT_EQ(4u, scene.optionsMenu->options.size());
    XarnTextClickable* hablar = scene.optionsMenu->options[0]->button;
    const int x = hablar->getX() + 5;
    const int y = hablar->getY() + 5;
    scene.remove(thing);
    frame(scene);
    ASSERT_TRUE(scene.optionsMenu->options.empty());
    click(x, y);
    frame(scene, 2);
}

// An object pointed at an area of someone else's: deleting it frees the box
// its constructor made, never that area.
TEST(InvestigableObject, DeletesTheBoxItMadeNotTheAreaItIsGiven) {
    KZ_BoundingBox area(10, 10, 50, 50);
    XarnSimpleInvestigableObject* object = new XarnSimpleInvestigableObject(nullptr);
    object->setBB(&area);
    delete object;
}
