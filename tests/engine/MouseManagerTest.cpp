// Mouse state fed by real SDL events through the engine's event pump; each
// poll() is one cycle of the main loop.
#include "KZ/MouseManager.h"
#include "KZ/EventManager.h"
#include "TestSupport.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

namespace {

using M = KZ_MouseManager;

class MouseTest : public ::testing::Test {
protected:
    int left = KZ_MouseManager::LEFT_BUTTON;
    int right = KZ_MouseManager::RIGHT_BUTTON;

    void SetUp() override { testsupport::openWindow(); }

    // One cycle: pump whatever was pushed since the last one.
    void cycle() { KZ_EventManager::poll(); }

    // pressed / held / released / double click of a button, as four letters.
    std::string state(int b) {
        std::string s;
        s += M::clickWasPressed(b) ? 'P' : '-';
        s += M::clickIsPressed(b) ? 'H' : '-';
        s += M::clickIsReleased(b) ? 'R' : '-';
        s += M::clickDoubleClick(b) ? 'D' : '-';
        return s;
    }
};

TEST_F(MouseTest, PointerIsUnknownBeforeAnyEventAndFollowsMotion) {
    EXPECT_EQ(-1, M::getX());
    EXPECT_EQ(-1, M::getY());
    cycle();
    EXPECT_EQ(-1, M::getX());
    testsupport::pushMotion(12, 34);
    testsupport::pushMotion(56, 78);
    cycle();
    EXPECT_EQ(56, M::getX()); // the last event of the cycle wins
    EXPECT_EQ(78, M::getY());
    EXPECT_EQ("----", state(left));
}

TEST_F(MouseTest, PressAndReleaseWithinOneCycleIsStillAPress) {
    SDL_Delay(600); // out of reach of the double-click window of the start
    testsupport::pushLeftPress(10, 10);
    testsupport::pushLeftRelease(10, 10);
    cycle();
    EXPECT_EQ("P-R-", state(left));
    cycle();
    EXPECT_EQ("----", state(left));
    EXPECT_EQ("----", state(right));
}

TEST_F(MouseTest, HeldButtonIsPressedOnceHeldUntilReleasedAndReleasedOnce) {
    SDL_Delay(600);
    testsupport::pushLeftPress(10, 10);
    cycle();
    EXPECT_EQ("PH--", state(left));
    testsupport::pushMotion(20, 20);
    cycle();
    EXPECT_EQ("-H--", state(left));
    testsupport::pushLeftRelease(20, 20);
    cycle();
    EXPECT_EQ("--R-", state(left));
    // A press right after a release is a new press (and, this soon after
    // the first one, a double click).
    testsupport::pushLeftPress(20, 20);
    cycle();
    EXPECT_EQ("PH-D", state(left));
}

TEST_F(MouseTest, PressesCloseTogetherAreADoubleClickOnlyInTheSecondPressCycle) {
    SDL_Delay(600);
    testsupport::pushLeftPress(10, 10);
    testsupport::pushLeftRelease(10, 10);
    cycle();
    EXPECT_EQ("P-R-", state(left));
    SDL_Delay(300);
    testsupport::pushLeftPress(10, 10);
    cycle();
    EXPECT_EQ("PH-D", state(left));
    cycle();
    EXPECT_EQ("-H--", state(left));

    // Another button's earlier press does not make a double click.
    testsupport::pushButton(true, SDL_BUTTON_RIGHT, 10, 10);
    cycle();
    EXPECT_EQ("PH--", state(right));
    testsupport::pushButton(false, SDL_BUTTON_RIGHT, 10, 10);
    cycle();
    EXPECT_EQ("--R-", state(right));
    EXPECT_EQ("-H--", state(left)); // the left button is still held
}

TEST_F(MouseTest, PressesFarApartAreNeverADoubleClick) {
    SDL_Delay(600);
    testsupport::pushLeftPress(10, 10);
    testsupport::pushLeftRelease(10, 10);
    cycle();
    SDL_Delay(550);
    testsupport::pushLeftPress(10, 10);
    cycle();
    EXPECT_EQ("PH--", state(left));
}

// A press 499 ms after the last one is a double click, one exactly 500 ms after
// is not (tries during which the clock moved do not count).
TEST_F(MouseTest, DoubleClickWindowEndsJustBefore500Milliseconds) {
    for (int apart : {499, 500}) {
        int now;
        do {
            testsupport::pushLeftRelease(10, 10);
            cycle();
            now = static_cast<int>(SDL_GetTicks());
            M::lastClick[left] = now - apart;
            testsupport::pushLeftPress(10, 10);
            cycle();
        } while (static_cast<int>(SDL_GetTicks()) != now);
        EXPECT_EQ(apart < 500 ? "PH-D" : "PH--", state(left)) << apart << " ms apart";
    }
}

TEST_F(MouseTest, ButtonEventsMoveThePointerAndOtherButtonsChangeNothingElse) {
    testsupport::pushLeftPress(100, 200); // no motion before it
    cycle();
    EXPECT_EQ(100, M::getX());
    EXPECT_EQ(200, M::getY());
    cycle();

    testsupport::pushButton(true, SDL_BUTTON_MIDDLE, 300, 310);
    testsupport::pushButton(true, SDL_BUTTON_WHEELUP, 320, 330);
    testsupport::pushButton(false, SDL_BUTTON_WHEELUP, 320, 330);
    testsupport::pushButton(true, SDL_BUTTON_WHEELDOWN, 340, 350);
    cycle();
    EXPECT_EQ(340, M::getX());
    EXPECT_EQ(350, M::getY());
    EXPECT_EQ("-H--", state(left)); // the left button is still held
    EXPECT_EQ("----", state(right));
}

TEST_F(MouseTest, KeyPressesChangeNothing) {
    testsupport::pushMotion(40, 50);
    cycle();
    testsupport::pushKey(true, SDLK_SPACE);
    testsupport::pushKey(false, SDLK_SPACE);
    testsupport::pushKey(true, SDLK_RETURN);
    cycle();
    EXPECT_EQ(40, M::getX());
    EXPECT_EQ(50, M::getY());
    EXPECT_EQ("----", state(left));
    EXPECT_EQ("----", state(right));
}

TEST_F(MouseTest, QuitWithoutAnApplicationIsHarmless) {
    // Nothing registered to stop: the pump just goes on with the rest.
    testsupport::pushQuit();
    testsupport::pushMotion(3, 4);
    cycle();
    EXPECT_EQ(3, M::getX());
}

} // namespace
