// The yardstick: a bare program on the game's stack (SDL 1.2, SDL_ttf,
// SDL_image, OpenGL 1.1 immediate mode) with the game's window, OpenGL state
// and 12-frames-per-second loop, and none of the engine. What it costs is what
// any program on this stack must pay; the performance script sets the game's
// figures against it.
//
//   floor [clear|dialog|interactive] [--seconds S] [--soak N]
//
// clear        only clears and swaps, every frame
// dialog       draws the investigation scene's quads while a line shows (default)
// interactive  draws them as while the player investigates
// --seconds S  stops after S seconds (default: when the window is closed)
// --soak N     instead of the loop, unloads and reloads the pictures N times,
//              one frame each, and prints resident memory and live textures
//              before and after

#include "FloorScene.h"
#include "Soak.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <SDL/SDL_ttf.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const int SCREEN_WIDTH = 640;
const int SCREEN_HEIGHT = 480;
const int SCREEN_BPP = 32;
const int FRAMES_PER_SECOND = 12;

const char* const LINE = "Buenos dias comisario";

[[noreturn]] void fail(const std::string& line) {
    std::printf("%s\n", line.c_str());
    SDL_Quit();
    std::exit(1);
}

// The game's window and OpenGL state, step for step.
void initVideo() {
    if (SDL_Init(SDL_INIT_EVERYTHING) < 0 && SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) < 0) {
        fail(std::string("Could not initialise SDL: ") + SDL_GetError());
    }
    if (TTF_Init() == -1) {
        fail(std::string("Could not initialise SDL_ttf: ") + TTF_GetError());
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (SDL_SetVideoMode(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BPP, SDL_OPENGL) == nullptr) {
        fail(std::string("Could not open the OpenGL window: ") + SDL_GetError());
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glOrtho(0, SCREEN_WIDTH, 0, SCREEN_HEIGHT, -10000, 10000);
    glClearColor(0, 0, 0, 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearDepth(1.0);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    SDL_WM_SetCaption("Demo", nullptr);
}

void frame(FloorScene* scene) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (scene != nullptr) {
        scene->draw();
    }
    SDL_GL_SwapBuffers();
}

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string mode = "dialog";
    int seconds = 0;
    int soak = 0;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--soak") == 0 && i + 1 < argc) {
            soak = std::atoi(argv[++i]);
        } else if (argv[i][0] != '-') {
            mode = argv[i];
        } else {
            std::printf("usage: floor [clear|dialog|interactive] [--seconds S] [--soak N]\n");
            return 2;
        }
    }
    if (mode != "clear" && mode != "dialog" && mode != "interactive") {
        std::printf("floor: unknown mode %s\n", mode.c_str());
        return 2;
    }

    initVideo();
    const FloorScene::Layout layout =
        mode == "interactive" ? FloorScene::INTERACTIVE : FloorScene::DIALOG;
    FloorScene* scene = nullptr;
    if (mode != "clear") {
        scene = new FloorScene();
        scene->load("res", LINE, layout);
    }

    if (soak > 0) {
        if (scene == nullptr) {
            scene = new FloorScene();
            scene->load("res", LINE, layout);
        }
        auto cycle = [&]() {
            scene->unload();
            frame(nullptr);
            scene->load("res", LINE, layout);
            frame(scene);
        };
        frame(scene);
        cycle(); // warms allocator pools and the renderer's caches up first
        const long rssBefore = soak::residentKiB();
        const long heapBefore = soak::heapInUseKiB();
        const int texturesBefore = soak::liveTextures();
        for (int i = 0; i < soak; i++) {
            cycle();
        }
        std::printf("soak %d rss_kib %ld %ld heap_kib %ld %ld textures %d %d\n", soak, rssBefore,
                    soak::residentKiB(), heapBefore, soak::heapInUseKiB(), texturesBefore,
                    soak::liveTextures());
        SDL_Quit();
        return 0;
    }

    // The game's main loop: a fixed step of 1000 / 12 ms, the frame measured
    // from the end of the previous sleep, no catching up.
    bool running = true;
    const Uint32 began = SDL_GetTicks();
    int start = static_cast<int>(SDL_GetTicks());
    while (running) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) {
                running = false;
            }
        }
        frame(scene);
        int remaining = 1000 / FRAMES_PER_SECOND - (static_cast<int>(SDL_GetTicks()) - start);
        if (remaining < 0) {
            std::printf("CPU OV %d\n", remaining);
            remaining = 0;
        }
        if (remaining > 0) {
            SDL_Delay(static_cast<Uint32>(remaining));
        }
        start = static_cast<int>(SDL_GetTicks());
        if (seconds > 0 && SDL_GetTicks() - began >= static_cast<Uint32>(seconds) * 1000) {
            running = false;
        }
    }
    delete scene;
    SDL_Quit();
    return 0;
}
