// Hides and shows the investigation scene many times, as going back and forth
// between scenes would, and prints resident memory and live textures before
// and after:
//
//   perf_soak N
//
// Each cycle hides the scene (its pictures and texts are released), shows the
// main menu for one frame, then shows the scene again (everything is loaded
// again from disk) for one frame.

#include "DemoInvestigacion.h"
#include "Events.h"
#include "KZ/Display.h"
#include "KZ/EventManager.h"
#include "MainMenu.h"
#include "Soak.h"

#include <SDL/SDL.h>
#include <cstdio>
#include <cstdlib>

namespace {

void frame(KZ_Displayable* top) {
    KZ_EventManager::poll();
    KZ_Display::cleanScreen();
    top->display(KZ_Display::getGraphics());
    KZ_Display::swapBuffers();
}

void click(KZ_Displayable* top) {
    bench::pushEvent(SDL_MOUSEBUTTONDOWN, 600, 20);
    frame(top);
    bench::pushEvent(SDL_MOUSEBUTTONUP, 600, 20);
    frame(top);
}

} // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    KZ_Display::init();

    // Nothing deletes scenes in the game either.
    MainMenu* menu = new MainMenu();
    DemoInvestigacion* scene = new DemoInvestigacion();
    menu->showNotify();
    frame(menu);
    menu->hideNotify();
    scene->showNotify();
    // Through the opening conversation first: the game never hides a scene
    // in the middle of a line.
    for (int i = 0; i < 100 && scene->mode != scene->MODE_INTERACTIVE; i++) {
        click(scene);
    }

    auto cycle = [&]() {
        scene->hideNotify();
        menu->showNotify();
        frame(menu);
        menu->hideNotify();
        scene->showNotify();
        frame(scene);
    };
    // One cycle before the first reading, so that allocator pools and the
    // renderer's caches have reached their working size.
    cycle();
    const long rssBefore = soak::residentKiB();
    const long heapBefore = soak::heapInUseKiB();
    const int texturesBefore = soak::liveTextures();
    for (int i = 0; i < cycles; i++) {
        cycle();
    }
    std::printf("soak %d rss_kib %ld %ld heap_kib %ld %ld textures %d %d\n", cycles, rssBefore,
                soak::residentKiB(), heapBefore, soak::heapInUseKiB(), texturesBefore,
                soak::liveTextures());
    SDL_Quit();
    return 0;
}
