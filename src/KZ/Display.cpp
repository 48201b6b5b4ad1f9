#include "KZ/Display.h"

#include "KZ/Platform.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

int KZ_Display::SCREEN_WIDTH = 0;
int KZ_Display::SCREEN_HEIGHT = 0;
int KZ_Display::SCREEN_BPP = 0;
int KZ_Display::FRAMES_PER_SECOND = 0;
KZ_Graphics* KZ_Display::graphics = nullptr;
const char* KZ_Display::title = "Demo";

// On a large desktop a 640 x 480 window is a stamp. SDL's 1.2 layer on SDL 2
// can show the window bigger while the game keeps its screen of SCREEN_WIDTH x
// SCREEN_HEIGHT and the pointer stays in game pixels; it reads the factor from
// SDL12COMPAT_WINDOW_SCALING when the video mode is set. Where that layer is
// not in use, the platform source reads the same variable and enlarges the
// window itself (KZ_Platform::windowSize). A player's own value always wins.
static const char* const windowScaling = "SDL12COMPAT_WINDOW_SCALING";

// Before SDL starts, where it reads its scaling method: whole multiples are
// drawn with every game pixel as a sharp square.
static void scaleBySharpSquares() {
    static char nearest[] = "SDL12COMPAT_SCALE_METHOD=nearest";
    if (std::getenv(windowScaling) == nullptr &&
        std::getenv("SDL12COMPAT_SCALE_METHOD") == nullptr) {
        putenv(nearest);
    }
}

// Once SDL knows the desktop's size: the largest whole multiple of the screen
// that fits in it, when that is 2 or more.
static void scaleToDesktop(int width, int height) {
    static char scaling[64];
    const SDL_VideoInfo* desktop = SDL_GetVideoInfo();
    if (std::getenv(windowScaling) != nullptr || desktop == nullptr) {
        return;
    }
    const int scale = std::min(desktop->current_w / width, desktop->current_h / height);
    if (scale >= 2) {
        std::snprintf(scaling, sizeof scaling, "%s=%d", windowScaling, scale);
        putenv(scaling);
    }
}

void KZ_Display::init() {
    SCREEN_BPP = 32;
    SCREEN_HEIGHT = 480;
    SCREEN_WIDTH = 640;
    FRAMES_PER_SECOND = 12;

    KZ_Platform::start();

    scaleBySharpSquares();
    // Asking for every subsystem fails on machines without a sound device or
    // joystick support, none of which the game uses; video and the timer are
    // all it needs, so fall back to them rather than refuse to start. The
    // failed attempt can leave subsystems counted as started that are not
    // (SDL's 1.2 layer on SDL 2 does), and a second SDL_Init would then start
    // nothing: everything is shut down before video and the timer start afresh.
    if (SDL_Init(SDL_INIT_EVERYTHING) < 0) {
        SDL_QuitSubSystem(SDL_INIT_EVERYTHING);
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0) {
            quitWithError(std::string("Could not initialise SDL: ") + SDL_GetError());
        }
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
    scaleToDesktop(SCREEN_WIDTH, SCREEN_HEIGHT);
    int windowWidth = SCREEN_WIDTH;
    int windowHeight = SCREEN_HEIGHT;
    KZ_Platform::windowSize(windowWidth, windowHeight);
    if (SDL_SetVideoMode(windowWidth, windowHeight, SCREEN_BPP, SDL_OPENGL) == nullptr) {
        quitWithError(std::string("Could not open the OpenGL window: ") + SDL_GetError());
    }
    KZ_Platform::windowOpened();

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

    SDL_WM_SetCaption(title, nullptr);

    std::printf("Graphic initialization successful \n");
    std::fflush(stdout);
}

KZ_Graphics* KZ_Display::getGraphics() {
    return graphics;
}

void KZ_Display::cleanScreen() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void KZ_Display::swapBuffers() {
    KZ_Platform::beforeSwap();
    SDL_GL_SwapBuffers();
}

void KZ_Display::quitWithError(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    SDL_Quit();
    std::exit(1);
}
