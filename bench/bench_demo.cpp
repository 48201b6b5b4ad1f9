// The game's frame and text: one display() cycle of the investigation scene
// framed as the main loop frames it (event pump, clear, display, swap; no
// sleep), in the two states a player spends time in; and the same of the
// script demo's investigation scene, played by the script player.

#include "BenchFrame.h"
#include "DemoInvestigacion.h"
#include "Events.h"
#include "KZ/Display.h"
#include "KZ/EventManager.h"
#include "KZ/FontRenderer.h"
#include "ScriptLoad.h"
#include "ScriptPlayer.h"
#include "ScriptScene.h"

#include <SDL/SDL.h>
#include <benchmark/benchmark.h>

namespace {

// One turn of the main loop without the sleep.
void frame(InteractiveScenePlanet* scene) {
    KZ_EventManager::poll();
    KZ_Display::cleanScreen();
    scene->display(KZ_Display::getGraphics());
    KZ_Display::swapBuffers();
}

// A freshly shown scene (nothing deletes scenes in the game either).
InteractiveScenePlanet* shown(InteractiveScenePlanet* scene) {
    bench::drainEvents();
    scene->showNotify();
    frame(scene);
    return scene;
}

// Clicks through the opening conversation, then rests the pointer on the
// policeman: the label names him every frame.
InteractiveScenePlanet* afterOpening(InteractiveScenePlanet* scene) {
    for (int i = 0; i < 100 && scene->mode != scene->MODE_INTERACTIVE; i++) {
        bench::pushEvent(SDL_MOUSEBUTTONDOWN, 600, 20);
        frame(scene);
        bench::pushEvent(SDL_MOUSEBUTTONUP, 600, 20);
        frame(scene);
    }
    bench::pushEvent(SDL_MOUSEMOTION, 432, 144);
    frame(scene);
    return scene;
}

// The scene with its first line in the strip, waiting for a click.
InteractiveScenePlanet* dialogScene() {
    static InteractiveScenePlanet* scene = shown(new DemoInvestigacion());
    return scene;
}

// The scene after its opening conversation, the pointer on the policeman.
InteractiveScenePlanet* interactiveScene() {
    static InteractiveScenePlanet* scene = afterOpening(shown(new DemoInvestigacion()));
    return scene;
}

// The script demo's investigation scene, just entered, from the build's
// games/demo; its pictures are the checkout's res/, the files it was made from.
InteractiveScenePlanet* scriptScene() {
    static ScriptLoad* load = new ScriptLoad(SCRIPT_DEMO);
    ScriptPlayer* player = new ScriptPlayer(load->game);
    player->go("investigacion");
    return shown(player->current);
}

InteractiveScenePlanet* scriptDialogScene() {
    static InteractiveScenePlanet* scene = scriptScene();
    return scene;
}

InteractiveScenePlanet* scriptInteractiveScene() {
    static InteractiveScenePlanet* scene = afterOpening(scriptScene());
    return scene;
}

void demoFrame(benchmark::State& state, InteractiveScenePlanet* (*scene)()) {
    InteractiveScenePlanet* s = scene();
    for (auto _ : state) {
        frame(s);
    }
}

void scriptFrame(benchmark::State& state, InteractiveScenePlanet* (*scene)()) {
    demoFrame(state, scene);
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
BENCHMARK_CAPTURE(scriptFrame, interactive, scriptInteractiveScene)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scriptFrame, dialog, scriptDialogScene)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(demoText, short_line, bench::SHORT_LINE)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(demoText, long_line, bench::LONG_LINE)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);
