#include "KZ/Display.h"

#include "KZ/Platform.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <cstdio>
#include <cstdlib>

int KZ_Display::SCREEN_WIDTH = 0;
int KZ_Display::SCREEN_HEIGHT = 0;
int KZ_Display::SCREEN_BPP = 0;
int KZ_Display::FRAMES_PER_SECOND = 0;
KZ_Graphics* KZ_Display::graphics = nullptr;

void KZ_Display::init() {
    SCREEN_BPP = 32;
    SCREEN_HEIGHT = 480;
    SCREEN_WIDTH = 640;
    FRAMES_PER_SECOND = 12;

    KZ_Platform::start();

    // Asking for every subsystem fails on machines without a sound device or
    // joystick support, none of which the game uses; video and the timer are
    // all it needs, so fall back to them rather than refuse to start.
    if (SDL_Init(SDL_INIT_EVERYTHING) < 0 && SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0) {
        quitWithError(std::string("Could not initialise SDL: ") + SDL_GetError());
    }
    // Without a display SDL falls back to drivers that draw nowhere; the game
    // would then run with no window to see or close, for ever. Only a player
    // (or a test) who names such a driver on purpose gets it.
    char driver[32] = "";
    SDL_VideoDriverName(driver, sizeof driver);
    const std::string name = driver;
    if ((name == "offscreen" || name == "dummy") && std::getenv("SDL_VIDEODRIVER") == nullptr) {
        quitWithError("Could not open the window: no display (is DISPLAY set?)");
    }
    if (TTF_Init() == -1) {
        quitWithError(std::string("Could not initialise SDL_ttf: ") + TTF_GetError());
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, SDL_OPENGL) == nullptr) {
        quitWithError(std::string("Could not open the OpenGL window: ") + SDL_GetError());
    }

    // x from 0 (left) to SCREEN_WIDTH, y from 0 (bottom) to SCREEN_HEIGHT.
    // Scenes put a camera on top that turns y downwards from the top-left.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glOrtho(0, SCREEN_WIDTH, 0, SCREEN_HEIGHT, -10000, 10000);

    glClearColor(0, 0, 0, 0);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // Equal depth passes, so among things at one depth the later drawing wins.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearDepth(1.0);

    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    SDL_WM_SetCaption("Demo", nullptr);

    std::printf("Graphic initialization successful \n");
    std::fflush(stdout);
}

KZ_Graphics* KZ_Display::getGraphics() { return graphics; }

void KZ_Display::cleanScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void KZ_Display::swapBuffers() { SDL_GL_SwapBuffers(); }

void KZ_Display::quitWithError(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    SDL_Quit();
    std::exit(1);
}
