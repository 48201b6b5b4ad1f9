// What a game gets beyond the demo's needs: topics and documents that join the
// scene's click routing, the verb menu's backdrop, commands that run a
// function or end the game in their turn, and a scene's one-call say().

#include "Documento.h"
#include "GameHarness.h"
#include "KZ/SerialSpace.h"
#include "SCommandCall.h"
#include "SCommandEnd.h"
#include "XarnMenuOpciones.h"
#include "XarnTextClickable.h"
#include "XarnTopico.h"

#include <gtest/gtest.h>

using namespace gameharness;

namespace {

class CountingTopic : public XarnTopico {
public:
    CountingTopic(int left, int top)
        : XarnTopico("Tema") {
        x = left;
        y = top;
    }
    void clicked() override { ++clicks; }
    int clicks = 0;
};

class CountingDocument : public Documento {
public:
    CountingDocument(int left, int top)
        : Documento("tests/fixtures/blue_16x16.png") {
        x = left;
        y = top;
    }
    void clicked() override { ++clicks; }
    int clicks = 0;
};

unsigned pixel(int x, int y) {
    unsigned char rgb[3];
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, KZ_Display::SCREEN_HEIGHT - y - 1, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return unsigned(rgb[0]) << 16 | unsigned(rgb[1]) << 8 | rgb[2];
}

} // namespace

// Joined, a topic or document under an object or a verb button does not hear
// the click that opens the menu or picks the verb, and stays quiet during a
// script; alone under the pointer it reacts once. Not joined, it reads the
// mouse itself as before, whatever lies over it.
TEST(SceneAdditions, JoinedTopicsAndDocumentsTakeTheirTurnInTheClickRouting) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    Thing* thing = new Thing(&scene, "Cosa", 100, 100);
    thing->reply = {"Una línea"};
    CountingTopic* joined = new CountingTopic(90, 120);         // under the thing
    CountingTopic* loose = new CountingTopic(90, 140);          // under the thing, not joined
    CountingDocument* document = new CountingDocument(300, 50); // under the menu's column
    joined->joinScene(&scene);
    document->joinScene(&scene);
    scene.add(thing);
    scene.add(joined);
    scene.add(loose);
    scene.add(document);
    frame(scene);

    click(130, 130); // the thing and the joined topic: the thing wins
    frame(scene);
    EXPECT_EQ(0, joined->clicks);
    click(130, 150); // the thing, and the loose topic, which reacts by itself
    frame(scene);
    EXPECT_EQ(0, joined->clicks);
    EXPECT_EQ(1, loose->clicks);

    // The menu's column (164, 68) covers the document: picking a verb there
    // is not a click on the document, and "clicked " is not printed.
    frame(scene, 2);
    XarnTextClickable* hablar = scene.optionsMenu->options[0]->button;
    ASSERT_EQ(164, hablar->getX());
    document->setX(164);
    document->setY(hablar->getY());
    testsupport::captureStdout();
    click(170, hablar->getY() + 5);
    frame(scene);
    EXPECT_EQ("", testsupport::capturedStdout());
    EXPECT_EQ(std::vector<std::string>{"Hablar"}, thing->verbs);
    EXPECT_EQ(0, document->clicks);

    // The thing's line is playing: the document and the topic stay quiet.
    frame(scene);
    ASSERT_EQ(scene.MODE_SCRIPT, scene.mode);
    click(200, 120);
    frame(scene);
    click(95, 125);
    frame(scene);
    EXPECT_EQ(0, document->clicks);
    EXPECT_EQ(0, joined->clicks);

    // Back in interactive mode, alone under the pointer: once each.
    frame(scene, 3);
    ASSERT_EQ(scene.MODE_INTERACTIVE, scene.mode);
    testsupport::captureStdout();
    click(200, 120);
    frame(scene);
    EXPECT_EQ("clicked \n", testsupport::capturedStdout());
    click(95, 125);
    frame(scene);
    EXPECT_EQ(1, document->clicks);
    EXPECT_EQ(1, joined->clicks);
}

// The menu draws nothing of its own unless the game asks for a backdrop; then
// the picture fills the open column behind the verbs, and goes with the menu.
TEST(SceneAdditions, MenuBackdropOnlyWhereAsked) {
    testsupport::openWindow();
    for (bool asked : {false, true}) {
        InteractiveScenePlanet scene;
        if (asked) {
            scene.optionsMenu->setBackdrop("tests/fixtures/red_16x16.png");
        }
        scene.add(new Thing(&scene, "Cosa", 100, 100));
        frame(scene);
        click(130, 130);
        frame(scene, 3);
        XarnTextClickable* last = scene.optionsMenu->options.back()->button;
        const int bottom = last->getY() + last->hitBox.height;
        // Inside the column, left of the words; below it, the black screen.
        EXPECT_EQ(asked ? 0xFF0000u : 0u, pixel(165, 70)) << asked;
        EXPECT_EQ(asked ? 0xFF0000u : 0u, pixel(165, bottom - 1)) << asked;
        EXPECT_EQ(0u, pixel(165, bottom + 1)) << asked;
        click(600, 450);
        frame(scene, 2);
        EXPECT_EQ(0u, pixel(165, 70)) << asked;
    }
}

// A function and the end of the game run in the script's turn: after the
// line before them has been clicked away, before the line after them shows.
TEST(SceneAdditions, CallAndEndRunInTheirTurn) {
    testsupport::openWindow();
    InteractiveScenePlanet scene;
    int calls = 0;
    scene.say("Uno");
    scene.commandStack.add(new SCommandCall([&calls] { ++calls; }));
    scene.commandStack.add(new SCommandEnd()); // no application: nothing to stop
    scene.say("Dos");
    frame(scene);
    EXPECT_EQ("Uno", scene.dialogBox->text);
    EXPECT_EQ(0, calls);
    click(300, 300);
    frame(scene, 3);
    EXPECT_EQ(1, calls);
    EXPECT_EQ("Dos", scene.dialogBox->text);
    EXPECT_EQ(1u, scene.commandStack.commands.size());

    // With an application, the end asks it to stop, once.
    KZ_SerialSpace* space = KZ_SerialSpace::getInstance();
    if (space != nullptr) {
        space->running = true;
        SCommandEnd end;
        end.execute();
        end.execute();
        EXPECT_TRUE(end.isDone());
        EXPECT_FALSE(space->running);
    }
}
