// The game's frame and text: one display() cycle of the investigation scene
// framed as the main loop frames it (event pump, clear, display, swap; no
// sleep), in the two states a player spends time in.

#include "BenchFrame.h"
#include "DemoInvestigacion.h"
#include "Events.h"
#include "KZ/Display.h"
#include "KZ/EventManager.h"
#include "KZ/FontRenderer.h"

#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

namespace {

// One turn of the main loop without the sleep.
void frame(DemoInvestigacion* scene) {
    KZ_EventManager::poll();
    KZ_Display::cleanScreen();
    scene->display(KZ_Display::getGraphics());
    KZ_Display::swapBuffers();
}

// A freshly shown investigation scene (nothing deletes scenes in the game
// either).
DemoInvestigacion* showScene() {
    bench::drainEvents();
    DemoInvestigacion* scene = new DemoInvestigacion();
    scene->showNotify();
    frame(scene);
    return scene;
}

// The scene with its first line in the strip, waiting for a click.
DemoInvestigacion* dialogScene() {
    static DemoInvestigacion* scene = nullptr;
    if (scene == nullptr) {
        scene = showScene();
    }
    return scene;
}

// The scene after its opening conversation, the pointer resting on the
// policeman: the label names him every frame.
DemoInvestigacion* interactiveScene() {
    static DemoInvestigacion* scene = nullptr;
    if (scene == nullptr) {
        scene = showScene();
        for (int i = 0; i < 100 && scene->mode != scene->MODE_INTERACTIVE; i++) {
            bench::pushEvent(SDL_MOUSEBUTTONDOWN, 600, 20);
            frame(scene);
            bench::pushEvent(SDL_MOUSEBUTTONUP, 600, 20);
            frame(scene);
        }
        bench::pushEvent(SDL_MOUSEMOTION, 432, 144);
        frame(scene);
    }
    return scene;
}

void demoFrame(benchmark::State& state, DemoInvestigacion* (*scene)()) {
    DemoInvestigacion* s = scene();
    for (auto _ : state) {
        frame(s);
    }
}

// Laying out, rendering and uploading one line as the dialog strip does.
void demoText(benchmark::State& state, const char* line) {
    KZ_FontRenderer renderer("res/Vera.ttf", 18);
    for (auto _ : state) {
        renderer.renderText(line, KZ_Display::SCREEN_WIDTH - 100);
    }
}

} // namespace

BENCHMARK_CAPTURE(demoFrame, interactive, interactiveScene)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(demoFrame, dialog, dialogScene)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(demoText, short_line, bench::SHORT_LINE)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(demoText, long_line, bench::LONG_LINE)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);
