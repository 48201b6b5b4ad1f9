#include "TestSupport.h"

#include "KZ/Display.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL/SDL.h>
#include <cstdio>
#include <gtest/gtest.h>
#include <iostream>

namespace testsupport {

// A new window is announced to the program a little after it appears: an
// expose, an activation and, with the activation, a pointer motion to the
// window's centre that the window system makes up. Arriving in the middle of a
// test, that motion would move the pointer the test had placed, so wait for the
// activation and let the queue go quiet before the test starts.
static void settleNewWindow() {
    const Uint32 start = SDL_GetTicks();
    Uint32 lastEvent = start;
    bool activated = false;
    while (SDL_GetTicks() - start < 2000) {
        SDL_Event event;
        SDL_PumpEvents();
        while (SDL_PollEvent(&event)) {
            activated = activated || event.type == SDL_ACTIVEEVENT;
            lastEvent = SDL_GetTicks();
        }
        if (activated && SDL_GetTicks() - lastEvent >= 100) {
            return;
        }
        SDL_Delay(5);
    }
}

void openWindow() {
    static bool open = false;
    if (!open) {
        KZ_Display::init();
        settleNewWindow();
        open = true;
    }
    drainEvents();
}

void drainEvents() {
    SDL_Event event;
    SDL_PumpEvents();
    while (SDL_PollEvent(&event)) {
    }
}

static void push(SDL_Event& event) {
    ASSERT_EQ(0, SDL_PushEvent(&event));
}

void pushMotion(int x, int y) {
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.x = static_cast<Uint16>(x);
    event.motion.y = static_cast<Uint16>(y);
    push(event);
}

void pushButton(bool down, int sdlButton, int x, int y) {
    SDL_Event event = {};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.type = event.type;
    event.button.button = static_cast<Uint8>(sdlButton);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = static_cast<Uint16>(x);
    event.button.y = static_cast<Uint16>(y);
    push(event);
}

void pushLeftPress(int x, int y) {
    pushButton(true, SDL_BUTTON_LEFT, x, y);
}

void pushLeftRelease(int x, int y) {
    pushButton(false, SDL_BUTTON_LEFT, x, y);
}

void pushQuit() {
    SDL_Event event = {};
    event.type = SDL_QUIT;
    event.quit.type = SDL_QUIT;
    push(event);
}

void pushKey(bool down, int sdlKey) {
    SDL_Event event = {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = static_cast<SDLKey>(sdlKey);
    push(event);
}

void beginSceneFrame() {
    KZ_Display::cleanScreen();
    const double h = KZ_Display::SCREEN_HEIGHT;
    gluLookAt(0, h, -1, 0, h, 0, 0, -1, 0);
}

unsigned readPixel(int x, int y) {
    unsigned char rgba[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, KZ_Display::SCREEN_HEIGHT - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return (unsigned(rgba[0]) << 16) | (unsigned(rgba[1]) << 8) | unsigned(rgba[2]);
}

int red(unsigned rgb) {
    return int((rgb >> 16) & 0xFF);
}
int green(unsigned rgb) {
    return int((rgb >> 8) & 0xFF);
}
int blue(unsigned rgb) {
    return int(rgb & 0xFF);
}

void captureStdout() {
    std::fflush(stdout);
    testing::internal::CaptureStdout();
}

std::string capturedStdout() {
    std::cout.flush();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

} // namespace testsupport
