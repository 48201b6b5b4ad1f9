// Steady frames for an instruction count: the game's investigation scene or
// the yardstick's quads, brought to a state and then drawn frame after frame
// inside steadyFrames(), so that callgrind can count exactly those frames:
//
//   LP_NUM_THREADS=0 valgrind --tool=callgrind --toggle-collect='steadyFrames*'
//                    perf_frames demo-dialog 50
//
// States: demo-dialog, demo-interactive, floor-dialog, floor-interactive, and
// script-dialog, script-interactive: the script demo's scene, played by kz's
// player from the build's games/demo.
// With LP_NUM_THREADS=0 Mesa rasterises on the calling thread, so the count
// covers the whole frame. Instruction counts do not depend on the machine's
// load, unlike times.

#include "BenchFrame.h"
#include "DemoInvestigacion.h"
#include "Events.h"
#include "FloorScene.h"
#include "KZ/Display.h"
#include "KZ/EventManager.h"
#include "ScriptLoad.h"
#include "ScriptPlayer.h"
#include "ScriptScene.h"

#include <GL/gl.h>
#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

InteractiveScenePlanet* scene = nullptr; // the game's side (C++ or script), or
FloorScene* floorScene = nullptr;        // the yardstick's

// One turn of the main loop without the sleep, on either side.
void frame() {
    if (scene != nullptr) {
        KZ_EventManager::poll();
        KZ_Display::cleanScreen();
        scene->display(KZ_Display::getGraphics());
        KZ_Display::swapBuffers();
        return;
    }
    bench::drainEvents();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    floorScene->draw();
    SDL_GL_SwapBuffers();
}

} // namespace

// Kept out of line: callgrind switches counting on and off at its entry.
__attribute__((noinline)) void steadyFrames(int frames) {
    for (int i = 0; i < frames; i++) {
        frame();
    }
}

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    const std::string state = argc > 1 ? argv[1] : "";
    const int frames = argc > 2 ? std::atoi(argv[2]) : 50;
    const std::string side = state.substr(0, state.find('-'));
    const std::string what = state.substr(state.find('-') + 1);
    if ((side != "demo" && side != "floor" && side != "script") ||
        (what != "dialog" && what != "interactive")) {
        std::printf("usage: perf_frames demo|floor|script-dialog|interactive [frames]\n");
        return 2;
    }
    KZ_Display::init();
    bench::drainEvents();
    if (side != "floor") {
        // Nothing deletes scenes (or the script player) in the game either.
        if (side == "demo") {
            scene = new DemoInvestigacion();
        } else {
            ScriptPlayer* player = new ScriptPlayer((new ScriptLoad(SCRIPT_DEMO))->game);
            player->go("investigacion");
            scene = player->current;
        }
        scene->showNotify();
        frame();
        if (what == "interactive") {
            for (int i = 0; i < 100 && scene->mode != scene->MODE_INTERACTIVE; i++) {
                bench::pushEvent(SDL_MOUSEBUTTONDOWN, 600, 20);
                frame();
                bench::pushEvent(SDL_MOUSEBUTTONUP, 600, 20);
                frame();
            }
            bench::pushEvent(SDL_MOUSEMOTION, 432, 144); // on the policeman
        }
    } else {
        floorScene = new FloorScene();
        floorScene->load("res", bench::SHORT_LINE,
                         what == "interactive" ? FloorScene::INTERACTIVE : FloorScene::DIALOG);
    }
    // Past the first frames, which compile the renderer's shaders.
    for (int i = 0; i < 10; i++) {
        frame();
    }
    steadyFrames(frames);
    std::printf("%s: %d frames\n", state.c_str(), frames);
    SDL_Quit();
    return 0;
}
