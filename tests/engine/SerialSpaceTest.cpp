// The main loop run for real: a window, SDL's own event queue and recording
// displayables that end the run by pushing the window's quit event.
#include "KZ/SerialSpace.h"
#include "KZ/MouseManager.h"
#include "Recorder.h"
#include "TestSupport.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <regex>
#include <unistd.h>

using recorder::journal;
using Strings = std::vector<std::string>;

namespace {

// Records the application hooks the loop and the pump trigger.
class RecordingSpace : public KZ_SerialSpace {
public:
    void startApp() override { recorder::note("space", "start"); }
    void pauseApp() override { recorder::note("space", "pause"); }
    void destroyApp(bool unconditional) override {
        recorder::note("space", unconditional ? "destroy(true)" : "destroy(false)");
    }
};

class SerialSpaceTest : public ::testing::Test {
protected:
    RecordingSpace* space = nullptr;

    void SetUp() override {
        // A loop that never ends fails the test instead of hanging it.
        alarm(20);
        journal().clear();
        space = new RecordingSpace(); // opens the window, as the program does
        testsupport::drainEvents();
    }
    void TearDown() override { alarm(0); }

    void run() { space->serialOrchestrator(); }
};

TEST_F(SerialSpaceTest, ConstructionRegistersTheApplicationRunningAndUnpaused) {
    EXPECT_EQ(space, KZ_SerialSpace::getInstance());
    EXPECT_EQ(space, KZ_SerialSpace::instance);
    EXPECT_TRUE(space->running);
    EXPECT_FALSE(space->paused);
    EXPECT_EQ(nullptr, space->previousDisplayable);
    EXPECT_EQ(nullptr, space->currentDisplayable);
    EXPECT_NE(nullptr, SDL_GetVideoSurface());
}

TEST_F(SerialSpaceTest, FirstFrameShowsTheTopAndASwapTakesEffectNextFrame) {
    recorder::Displayable a("A"), b("B");
    a.onDisplay = [&](int frame) {
        if (frame == 1) {
            KZ_Space::displayStack.swap(&b);
            recorder::note("A", "swapped");
        }
    };
    b.onDisplay = [&](int frame) {
        if (frame == 1) {
            testsupport::pushQuit();
        }
    };
    KZ_Space::displayStack.push(&a);
    run();

    // The swap notifies at once; the frame still ends with the old top; the
    // next frame hides the old top, then shows the new one, then displays it.
    // The quit polled in B's second frame still lets that frame display.
    EXPECT_EQ((Strings{"A.pushed", "A.show", "A.display", "A.poped", "B.pushed", "A.swapped",
                       "A.hide", "B.show", "B.display", "space.destroy(true)", "B.display"}),
              journal());
    EXPECT_FALSE(space->running);
    EXPECT_EQ(&b, space->previousDisplayable);
}

TEST_F(SerialSpaceTest, PoppingAndPushingBackTheSameTopWithinAFrameShowsNothingNew) {
    recorder::Displayable a("A");
    a.onDisplay = [&](int frame) {
        if (frame == 1) {
            KZ_Space::displayStack.pop();
            KZ_Space::displayStack.push(&a);
        }
        if (frame == 2) {
            testsupport::pushQuit();
        }
    };
    KZ_Space::displayStack.push(&a);
    run();
    EXPECT_EQ((Strings{"A.pushed", "A.show", "A.display", "A.poped", "A.pushed", "A.display",
                       "A.display"}),
              recorder::of("A"));
}

TEST_F(SerialSpaceTest, QuitAmongMouseEventsIsHandledWithThemAndTheFrameCompletes) {
    recorder::Displayable a("A");
    bool leftPressed = false, rightPressed = false;
    a.onDisplay = [&](int frame) {
        if (frame == 1) {
            testsupport::pushMotion(10, 20);
            testsupport::pushQuit();
            testsupport::pushLeftPress(30, 40);
            testsupport::pushButton(true, SDL_BUTTON_RIGHT, 50, 60);
        }
        if (frame == 2) {
            // Still displayed after the quit, and the presses queued behind
            // it were handled. (Buttons rather than the pointer position: the
            // window system may slip its own motion events in meanwhile.)
            leftPressed = KZ_MouseManager::clickWasPressed(KZ_MouseManager::LEFT_BUTTON);
            rightPressed = KZ_MouseManager::clickWasPressed(KZ_MouseManager::RIGHT_BUTTON);
        }
    };
    KZ_Space::displayStack.push(&a);
    run();
    EXPECT_EQ(2, a.frames);
    EXPECT_TRUE(leftPressed);
    EXPECT_TRUE(rightPressed);
    EXPECT_FALSE(space->running);
    EXPECT_EQ((Strings{"A.pushed", "A.show", "A.display", "space.destroy(true)", "A.display"}),
              journal());
}

TEST_F(SerialSpaceTest, AnEmptyStackSkipsTheDisplayCall) {
    recorder::Displayable a("A");
    a.onDisplay = [&](int frame) {
        if (frame == 1) {
            KZ_Space::displayStack.pop();
            testsupport::pushQuit();
        }
    };
    KZ_Space::displayStack.push(&a);
    run();
    // The frame after the pop hides A and runs without any display() call.
    EXPECT_EQ(
        (Strings{"A.pushed", "A.show", "A.display", "A.poped", "A.hide", "space.destroy(true)"}),
        journal());
    EXPECT_EQ(nullptr, space->previousDisplayable);
    EXPECT_EQ(nullptr, space->currentDisplayable);
}

TEST_F(SerialSpaceTest, AnEmptyStackFromTheStartStillRunsUntilQuit) {
    testsupport::pushQuit();
    run();
    EXPECT_EQ((Strings{"space.destroy(true)"}), journal());
}

TEST_F(SerialSpaceTest, APausedApplicationRunsNoFramesButStillEndsOnQuit) {
    recorder::Displayable a("A");
    a.onDisplay = [&](int frame) {
        if (frame == 2) {
            space->pause();
            // Events that arrive while paused are still pumped: the mouse
            // state follows them and the quit ends the loop.
            testsupport::pushButton(true, SDL_BUTTON_RIGHT, 7, 9);
            testsupport::pushQuit();
        }
    };
    KZ_Space::displayStack.push(&a);
    run();
    EXPECT_EQ(2, a.frames);
    EXPECT_EQ((Strings{"A.pushed", "A.show", "A.display", "A.display", "space.pause",
                       "space.destroy(true)"}),
              journal());
    EXPECT_FALSE(space->running);
    EXPECT_FALSE(space->paused); // destroy() clears it too
    EXPECT_TRUE(KZ_MouseManager::clickIsPressed(KZ_MouseManager::RIGHT_BUTTON));
}

TEST_F(SerialSpaceTest, AnOverlongFramePrintsItsSignedOverrun) {
    recorder::Displayable a("A");
    a.onDisplay = [&](int frame) {
        if (frame == 1) {
            SDL_Delay(200); // far beyond the 83 ms budget
            testsupport::pushQuit();
        }
    };
    KZ_Space::displayStack.push(&a);
    testsupport::captureStdout();
    run();
    std::string out = testsupport::capturedStdout();
    std::smatch match;
    ASSERT_TRUE(std::regex_search(out, match, std::regex("(^|\n)CPU OV (-[0-9]+)\n"))) << out;
    // 200 ms of work against an 83 ms budget: at least 117 over.
    EXPECT_LE(std::stoi(match[2]), -117);
}

} // namespace
