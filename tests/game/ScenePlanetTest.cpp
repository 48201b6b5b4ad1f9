// A scripted scene played frame by frame: the script runs before the entities
// step, so a line clicked away in cycle N is replaced in cycle N + 2.

#include "ScenePlanet.h"
#include "BackGroundImage.h"
#include "CharacterSprite.h"
#include "Dialogbox.h"
#include "SCommandHide.h"
#include "SCommandMoveCenter.h"
#include "SCommandSay.h"
#include "ScriptFixture.h"

#include <gtest/gtest.h>
#include <string>

using namespace scripttest;
using testsupport::pushLeftPress;
using testsupport::pushLeftRelease;

namespace {

const char* SHORT_LINE = "Hola";
const char* LONG_LINE = "Lamento haberlo hecho venir de improviso, pero este caso lo amerita";

// A conversation as a content scene would write it: background, one portrait,
// and a script of hide, centre, say, say queued by the constructor.
class Conversation : public ScenePlanet {
public:
    explicit Conversation(bool script = true) {
        debug = false;
        background = new BackGroundImage("res/background.png");
        add(background);
        portrait = new CharacterSprite("res/portrait.png");
        add(portrait);
        if (script) {
            commandStack.add(new SCommandHide(portrait));
            commandStack.add(new SCommandMoveCenter(portrait));
            commandStack.add(new SCommandSay(dialogBox, SHORT_LINE, portrait));
            commandStack.add(new SCommandSay(dialogBox, LONG_LINE, portrait));
        }
    }

    BackGroundImage* background;
    CharacterSprite* portrait;
};

// Which line the strip shows: the short one has glyphs only near its start,
// the long one runs across the strip.
enum Shown { NOTHING, SHORT, LONG };

Shown shownLine() {
    Snapshot s;
    EXPECT_GT(s.count(0, 368, 640, 480, BACKDROP), 0) << "the box is never hidden";
    if (s.glyphs(20, 380, 560, 470) == 0)
        return NOTHING;
    return s.glyphs(300, 380, 560, 470) > 0 ? LONG : SHORT;
}

class ScenePlanetTest : public ::testing::Test {
protected:
    void SetUp() override { openFixtureWindow(); }
};

TEST_F(ScenePlanetTest, PlaysTheScriptOneLinePerClickReplacingItTwoCyclesLater) {
    Conversation scene;
    EXPECT_EQ(4u, scene.commandStack.commands.size());

    // First cycle: hide and centre run, the first line is shown, all in one call.
    frame(&scene);
    EXPECT_EQ(256, scene.portrait->getX());
    EXPECT_EQ(2u, scene.commandStack.commands.size());
    EXPECT_EQ(SHORT, shownLine());
    EXPECT_EQ(FACING, Snapshot().at(260, 200)); // centred portrait
    EXPECT_EQ(BACKGROUND, Snapshot().at(5, 5));

    // The line waits as long as the player does.
    for (int i = 0; i < 5; ++i) {
        frame(&scene);
        EXPECT_EQ(SHORT, shownLine());
        EXPECT_EQ(2u, scene.commandStack.commands.size());
    }

    // Cycle N: the press finishes the line; the strip shows only its backdrop.
    pushLeftPress(600, 40);
    frame(&scene);
    EXPECT_TRUE(scene.dialogBox->isDone());
    EXPECT_EQ(NOTHING, shownLine());
    EXPECT_EQ(2u, scene.commandStack.commands.size());

    // Cycle N + 1: the command sees the box done for the first time and stays.
    pushLeftRelease(600, 40);
    frame(&scene);
    EXPECT_EQ(NOTHING, shownLine());
    ASSERT_EQ(2u, scene.commandStack.commands.size());
    EXPECT_FALSE(static_cast<SCommandSay*>(scene.commandStack.commands.back())->firstDonePoll);

    // Cycle N + 2: the command is deleted and the next line shown at once.
    frame(&scene);
    EXPECT_EQ(1u, scene.commandStack.commands.size());
    EXPECT_EQ(LONG, shownLine());

    pushLeftPress(10, 10);
    frame(&scene);
    EXPECT_EQ(NOTHING, shownLine());
    pushLeftRelease(10, 10);
    frame(&scene);
    frame(&scene);
    // The script is over: the box stays done and shown, the scene keeps cycling.
    EXPECT_TRUE(scene.commandStack.commands.empty());
    for (int i = 0; i < 3; ++i) {
        frame(&scene);
        EXPECT_EQ(NOTHING, shownLine());
        EXPECT_FALSE(scene.dialogBox->hidden);
    }
}

TEST_F(ScenePlanetTest, AClickWhileLinesAdvanceDoesNotSkipTheNextLine) {
    Conversation scene;
    frame(&scene);
    pushLeftPress(100, 100); // cycle N finishes the first line
    pushLeftRelease(100, 100);
    frame(&scene);
    frame(&scene);
    pushLeftPress(100, 100); // clicked again just as the next line comes, in N + 2
    frame(&scene);
    EXPECT_EQ(LONG, shownLine());
    EXPECT_FALSE(scene.dialogBox->isDone());

    // It stays until the next press.
    pushLeftRelease(100, 100);
    frame(&scene);
    EXPECT_EQ(LONG, shownLine());
    pushLeftPress(100, 100);
    frame(&scene);
    EXPECT_EQ(NOTHING, shownLine());
}

TEST_F(ScenePlanetTest, TheSecondClickOfADoubleClickDoesNotSkipAQueuedLine) {
    Conversation scene(false);
    frame(&scene);
    EXPECT_EQ(NOTHING, shownLine());

    // The first click's reaction queues a line after the entities have stepped...
    pushLeftPress(300, 200);
    pushLeftRelease(300, 200);
    frame(&scene);
    scene.commandStack.add(new SCommandSay(scene.dialogBox, SHORT_LINE, nullptr));
    // ...and the second click lands in the cycle that shows it.
    pushLeftPress(300, 200);
    frame(&scene);
    EXPECT_EQ(SHORT, shownLine());
    frame(&scene);
    EXPECT_EQ(SHORT, shownLine());
}

TEST_F(ScenePlanetTest, AnEmptyScriptShowsOnlyTheBackdropAndTheTraceIsOnByDefault) {
    ScenePlanet plain;
    EXPECT_TRUE(plain.debug);
    EXPECT_EQ(-1000, plain.dialogBox->getZ());
    plain.debug = false;
    frame(&plain);
    frame(&plain);
    Snapshot s;
    EXPECT_EQ(640 * 112, s.count(0, 368, 640, 480, BACKDROP));
    EXPECT_EQ(640 * 368, s.count(0, 0, 640, 368, CLEAR));
}

} // namespace
