// Floods of mouse events within one frame: the pump must handle every one and
// leave the mouse state as the last event says, however many arrive. SDL's own
// queue holds only 128 events and silently drops the rest.
//
// These tests move the real pointer, so each runs on an X server of its own,
// out of reach of the other windowed tests.
#include "KZ/EventManager.h"
#include "KZ/MouseManager.h"
#include "KZ/SerialSpace.h"
#include "TestSupport.h"

#include <SDL/SDL.h>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// An Xvfb of this process's own, started before SDL opens the window; DISPLAY
// names it from then on.
class PrivateXServer {
public:
    pid_t pid = -1;

    bool start() {
        int fds[2];
        if (pipe(fds) != 0) {
            return false;
        }
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes its display number once it accepts connections.
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(fds[0]);
        if (pid < 0 || number.empty()) {
            return false;
        }
        setenv("DISPLAY", (":" + number).c_str(), 1);
        return true;
    }

    ~PrivateXServer() {
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

using M = KZ_MouseManager;

// An application that only counts the stop requests the pump makes.
class CountingSpace : public KZ_SerialSpace {
public:
    int stops = 0;
    void startApp() override {}
    void pauseApp() override {}
    void destroyApp(bool) override { ++stops; }
};

class EventFloodTest : public ::testing::Test {
protected:
    PrivateXServer xserver;
    CountingSpace* space = nullptr;

    void SetUp() override {
        ASSERT_TRUE(xserver.start()) << "could not start Xvfb";
        // SDL 2, under SDL 1.2 here, drops a click that comes within 10 ms of
        // the window gaining focus, and then the release of a button it never
        // saw pressed. These tests click right after the window opens.
        setenv("SDL_MOUSE_FOCUS_CLICKTHROUGH", "1", 1);
        space = new CountingSpace(); // opens the window and hands itself to the pump
        testsupport::drainEvents();
        KZ_EventManager::poll(); // whatever the window system sent on opening
        KZ_EventManager::poll();
    }

    static int pending() {
        SDL_PumpEvents();
        return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_ALLEVENTS);
    }

    static bool push(SDL_Event event) { return SDL_PushEvent(&event) == 0; }

    // Pumps until SDL has read a button release from the window system.
    // Input that another program (xdotool) sends reaches this one a little
    // later, however busy the machine: one pump may come too soon. The test
    // watches for the release in front of the engine's event filter, which
    // keeps the event for the next poll. The limit only keeps a broken X
    // server from hanging the test.
    static bool pumpUntilAReleaseArrives() {
        engineFilter = SDL_GetEventFilter();
        releaseArrived = false;
        SDL_SetEventFilter(noteRelease);
        const Uint32 start = SDL_GetTicks();
        while (!releaseArrived && SDL_GetTicks() - start < 30000) {
            SDL_PumpEvents();
            SDL_Delay(1);
        }
        SDL_SetEventFilter(engineFilter);
        return releaseArrived;
    }

protected:
    static SDL_EventFilter engineFilter;
    static bool releaseArrived;

    static int SDLCALL noteRelease(const SDL_Event* event) {
        releaseArrived = releaseArrived || event->type == SDL_MOUSEBUTTONUP;
        return engineFilter(event);
    }

    static SDL_Event motion(int x, int y) {
        SDL_Event event = {};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = static_cast<Uint16>(x);
        event.motion.y = static_cast<Uint16>(y);
        return event;
    }

    static SDL_Event button(bool down, int x, int y) {
        SDL_Event event = {};
        event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.button.x = static_cast<Uint16>(x);
        event.button.y = static_cast<Uint16>(y);
        return event;
    }
};

SDL_EventFilter EventFloodTest::engineFilter = nullptr;
bool EventFloodTest::releaseArrived = false;

// The pointer moved by the window system thousands of times between two
// frames: one poll takes every motion and ends where the pointer ended.
TEST_F(EventFloodTest, ThousandsOfPointerMovesInOneFrameEndWhereThePointerEnded) {
    const int moves = 4000;
    for (int i = 0; i < moves; ++i) {
        SDL_WarpMouse(static_cast<Uint16>(1 + i % 600), static_cast<Uint16>(1 + (i * 7) % 440));
    }
    SDL_WarpMouse(321, 123);
    KZ_EventManager::poll();
    EXPECT_EQ(321, M::getX());
    EXPECT_EQ(123, M::getY());
    EXPECT_EQ(0, pending());
    EXPECT_FALSE(M::clickWasPressed(M::LEFT_BUTTON));
    EXPECT_EQ(0, space->stops);
}

// SDL's queue filled to the brim by the program itself (SDL 1.2 keeps 128):
// one poll empties it, and the clicks in it make one press this cycle,
// released at the end.
TEST_F(EventFloodTest, AFullQueueOfClicksIsHandledInOnePoll) {
    for (int i = 0; i < 42; ++i) {
        ASSERT_TRUE(push(motion(i * 15, i * 11)));
        ASSERT_TRUE(push(button(true, i * 15, i * 11)));
        ASSERT_TRUE(push(button(false, i == 41 ? 7 : i, i == 41 ? 9 : i)));
    }
    KZ_EventManager::poll();
    EXPECT_EQ(0, pending());
    EXPECT_EQ(7, M::getX());
    EXPECT_EQ(9, M::getY());
    EXPECT_TRUE(M::clickWasPressed(M::LEFT_BUTTON));
    EXPECT_TRUE(M::clickIsReleased(M::LEFT_BUTTON));
    EXPECT_FALSE(M::clickIsPressed(M::LEFT_BUTTON));
    KZ_EventManager::poll();
    EXPECT_FALSE(M::clickWasPressed(M::LEFT_BUTTON));
    EXPECT_FALSE(M::clickIsReleased(M::LEFT_BUTTON));
}

// Frame after frame of full queues ending with the button held: every frame's
// state is that frame's last event, and a quit at the end still stops.
TEST_F(EventFloodTest, FrameAfterFrameOfFullQueuesKeepsTheStateOfEachFrame) {
    for (int frame = 0; frame < 40; ++frame) {
        const bool hold = frame % 2 == 0;
        for (int i = 0; i < 60; ++i) {
            ASSERT_TRUE(push(motion(i, frame)));
        }
        ASSERT_TRUE(push(button(hold, 100 + frame, 200)));
        KZ_EventManager::poll();
        EXPECT_EQ(100 + frame, M::getX()) << frame;
        EXPECT_EQ(hold, M::clickIsPressed(M::LEFT_BUTTON)) << frame;
        EXPECT_EQ(hold, M::clickWasPressed(M::LEFT_BUTTON)) << frame;
        EXPECT_EQ(!hold, M::clickIsReleased(M::LEFT_BUTTON)) << frame;
    }
    EXPECT_EQ(0, space->stops);
    testsupport::pushQuit();
    KZ_EventManager::poll();
    EXPECT_EQ(1, space->stops);
    EXPECT_FALSE(space->running);
}

// Events read while nobody polls (anyone pumping SDL's events reads them) are
// kept up to a bound, yet the next poll ends as the last ones left things.
TEST_F(EventFloodTest, EventsReadWhileNobodyPollsAreBoundedButTheLastOnesCount) {
    SDL_WarpMouse(400, 300);
    ASSERT_EQ(0, std::system("xdotool mousedown 1"));
    for (int i = 0; i < 6000; ++i) {
        SDL_WarpMouse(static_cast<Uint16>(1 + i % 600), static_cast<Uint16>(1 + (i * 7) % 440));
        SDL_PumpEvents();
    }
    SDL_WarpMouse(321, 123);
    ASSERT_EQ(0, std::system("xdotool mouseup 1"));
    ASSERT_TRUE(pumpUntilAReleaseArrives()) << "the release never arrived";
    EXPECT_LE(KZ_EventManager::waiting(), 4096);
    KZ_EventManager::poll();
    EXPECT_EQ(321, M::getX());
    EXPECT_EQ(123, M::getY());
    EXPECT_TRUE(M::clickIsReleased(M::LEFT_BUTTON));
}

} // namespace
