#include "GameHarness.h"
#include "XarnMenuOpciones.h"
#include "XarnTextClickable.h"

#include <gtest/gtest.h>

using namespace gameharness;

// Clicks away the line on show and plays frames until the script is over;
// returns how many frames that took, the last one being interactive.
static int finishLine(InteractiveScenePlanet& scene) {
    click(600, 20);
    int frames = 0;
    do {
        frame(scene);
        frames++;
    } while (scene.mode == scene.MODE_SCRIPT && frames < 10);
    return frames;
}

// A scene played frame by frame: its opening script line by line, then a click
// on an object, the verb menu, a verb, the object's scripted reaction, and
// back to interactive mode.
TEST(Playthrough, ScriptThenVerbThenReactionThenBackToInteractive) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    Dialogbox* box = scene.dialogBox;
    Thing* thing = new Thing(&scene, "Cosa", 100, 100);
    thing->reply = {"Es una cosa"};
    scene.add(thing);
    scene.commandStack.add(new SCommandSay(box, "Uno", nullptr));
    scene.commandStack.add(new SCommandSay(box, "Dos", nullptr));

    frame(scene, 5); // a line waits for its press however long it takes
    EXPECT_EQ(scene.MODE_SCRIPT, scene.mode);
    EXPECT_FALSE(box->hidden);
    EXPECT_EQ("Uno", box->text);
    click(130, 130); // on the object: routed to it, ignored during a script
    frame(scene, 3);
    EXPECT_EQ("Dos", box->text);
    EXPECT_TRUE(scene.optionsMenu->options.empty());
    EXPECT_EQ(4, finishLine(scene));
    EXPECT_TRUE(box->hidden);

    click(130, 130);
    frame(scene, 3);
    XarnTextClickable* examinar = scene.optionsMenu->options[1]->button;
    click(examinar->getX() + 10, examinar->getY() + 10);
    frame(scene);
    EXPECT_EQ(std::vector<std::string>{"Examinar"}, thing->verbs);
    EXPECT_EQ(scene.MODE_INTERACTIVE, scene.mode);
    frame(scene);
    EXPECT_EQ(scene.MODE_SCRIPT, scene.mode);
    EXPECT_FALSE(box->hidden);
    EXPECT_EQ("Es una cosa", box->text);
    EXPECT_LT(0, whitePixels(20, 380, 200, 20)); // the line is on screen
    EXPECT_EQ(-10000, examinar->getX());
    EXPECT_EQ(4, finishLine(scene));
    EXPECT_TRUE(box->hidden);
    EXPECT_EQ(1u, thing->verbs.size());
}
